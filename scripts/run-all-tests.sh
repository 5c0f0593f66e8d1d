#!/usr/bin/env bash
# Everything `make test` does: both builds, then every suite, then one closing line.
set -uo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)
fail=0
step() { echo; echo "=== $* ==="; }

step "native build (ASan + UBSan)"; make --no-print-directory native || exit 1
step "windows build (shipped, i686)"; make --no-print-directory win || exit 1
step "windows test build ($(bash scripts/test-arch.sh))"; make --no-print-directory wintest || exit 1

step "publisher server tests"
if [ -f tools/publisher/test_server.py ]; then python3 tools/publisher/test_server.py || fail=1; fi
if [ -f res/art/test_skins.py ]; then step "skin art checks"; python3 res/art/test_skins.py || fail=1; fi

step "native tests"
make --no-print-directory test-native || fail=1

step "windows and end-to-end tests under Wine"
make --no-print-directory test-win || fail=1

echo
echo "make test: $(( $(date +%s) - start )) s"
exit $fail
