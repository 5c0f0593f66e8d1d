#!/usr/bin/env bash
# Everything `make test` does: both builds, every suite, then one closing line with the totals.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
logs="$(mktemp -d)"
fail=0
passed=0
failed=0
step() { echo; echo "=== $* ($(( $(date +%s) - start )) s) ==="; }

# Adds a suite's counts to the totals, from ctest's or unittest's own summary.
count_ctest() {
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local f t
  f=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  t=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + t - f)); failed=$((failed + f))
}
count_unittest() {
  local ran bad
  ran=$(grep -E '^Ran [0-9]+ tests?' "$1" | tail -1 | awk '{print $2}')
  if [ -z "$ran" ]; then failed=$((failed + 1)); return; fi
  bad=0
  for n in $(grep -E '^FAILED \(' "$1" | tail -1 | grep -oE '(failures|errors)=[0-9]+' | cut -d= -f2); do
    bad=$((bad + n))
  done
  passed=$((passed + ran - bad)); failed=$((failed + bad))
}
python_suite() {
  local name="$1" file="$2"
  [ -f "$file" ] || return 0
  step "$name"
  python3 "$file" >"$logs/$name.log" 2>&1 || fail=1
  tail -4 "$logs/$name.log"
  count_unittest "$logs/$name.log"
}

arch="$(bash scripts/test-arch.sh)"
if [ "$arch" = i686 ]; then
  win_ran="the shipped i686 build (build/win)"
else
  win_ran="the $arch build (build/win-$arch); the shipped i686 build and its tests were compiled, not run"
fi

step "native build (ASan + UBSan)";  make --no-print-directory native || exit 1
step "windows build (shipped, i686)"; make --no-print-directory win || exit 1
step "windows test build ($arch)"; make --no-print-directory wintest || exit 1

python_suite publisher-server tools/publisher/test_server.py
python_suite skin-art res/art/test_skins.py
VOREL_SHIPPED_DIR="$PWD/build/win" python_suite shipped-executable tests/package/test_shipped_exe.py

step "native tests"
make --no-print-directory test-native 2>&1 | tee "$logs/native.log" | grep -E 'tests passed|Failed|\*\*\*' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || fail=1
count_ctest "$logs/native.log"

# A fixed number of inputs per parser from a fixed seed: a short, repeatable run (make fuzz
# runs them for minutes).
step "fuzz smoke runs (libFuzzer, ASan + UBSan)"
make --no-print-directory fuzz-smoke 2>&1 | tee "$logs/fuzz.log" | grep -E 'tests passed|Failed|\*\*\*|property failed' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || fail=1
count_ctest "$logs/fuzz.log"

step "windows and end-to-end tests under Wine, $win_ran"
make --no-print-directory test-win 2>&1 | tee "$logs/win.log" | grep -E 'tests passed|Failed|\*\*\*|^\s+[0-9]+ - ' || true
[ "${PIPESTATUS[0]}" -eq 0 ] || fail=1
count_ctest "$logs/win.log"

echo
echo "make test: $(( $(date +%s) - start )) s; full logs in $logs"
echo "$passed passed, $failed failed; the Windows suites ran $win_ran"
[ "$failed" -eq 0 ] || fail=1
exit $fail
