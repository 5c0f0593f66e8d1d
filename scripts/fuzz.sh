#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for FUZZ_SECONDS each, FUZZ_JOBS at a time, at nice
# level FUZZ_NICE, and prints one line per target: time, executions, coverage, corpus, findings.
# The corpus grows in <build>/corpus/<target> from run to run; the seeds in the repository are
# only read. Findings are kept in <build>/findings/<target>/.
# Usage: fuzz.sh <fuzz build folder> [target...]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz.sh <fuzz build folder> [target...]}
shift
seconds=${FUZZ_SECONDS:-600}
jobs=${FUZZ_JOBS:-1}
niceness=${FUZZ_NICE:-19}

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/tests/fuzz/*_fuzz; do targets+=("$(basename "$exe" _fuzz)"); done
fi

run_one() {
  local name=$1
  local corpus="$build/corpus/$name" findings="$build/findings/$name" log="$build/logs/$name.log"
  mkdir -p "$corpus" "$findings" "$build/logs"
  local start=$(date +%s)
  # The generous timeout: at nice 19 on a busy machine an input of milliseconds can wait
  # seconds for the processor, and that is not a hang of ours.
  UBSAN_OPTIONS=print_stacktrace=1 nice -n "$niceness" "$build/tests/fuzz/${name}_fuzz" \
    -max_total_time="$seconds" -max_len=8192 -timeout=120 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "tests/fuzz/corpus/$name" >"$log" 2>&1
  local rc=$? took=$(( $(date +%s) - start ))
  local execs cov ft corp found
  execs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | awk '{print $2}')
  cov=$(grep -oE ' cov: [0-9]+' "$log" | tail -1 | awk '{print $2}')
  ft=$(grep -oE ' ft: [0-9]+' "$log" | tail -1 | awk '{print $2}')
  corp=$(ls "$corpus" | wc -l)
  found=$(ls "$findings" | wc -l)
  printf '%-18s %5s s  %12s execs  cov %5s  ft %6s  corpus %5s  findings %s  exit %s\n' \
    "$name" "$took" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$corp" "$found" "$rc"
  [ "$rc" -eq 0 ] && [ "$found" -eq 0 ]
}

echo "fuzzing ${#targets[@]} targets, $seconds s each, $jobs at a time, nice $niceness ($(date -u '+%Y-%m-%d %H:%M UTC'))"
fail=0
running=0
for name in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || fail=1
    running=$((running - 1))
  fi
  run_one "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || fail=1
  running=$((running - 1))
done
[ "$fail" -eq 0 ] && echo "no findings" || echo "findings: see $build/findings and $build/logs"
exit $fail
