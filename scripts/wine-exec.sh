#!/usr/bin/env bash
# Runs one Windows program of the build under Wine; ctest uses this as its emulator.
# Works on its own too: it finds the build folder from the program's path and makes the
# prefix and a display when none is running (the test session normally provides both).
here="$(cd "$(dirname "$0")" && pwd)"
prog="$1"
shift
if [ -z "${VOREL_BUILD_DIR:-}" ]; then
  VOREL_BUILD_DIR="$(cd "$(dirname "$prog")" && pwd)"
  export VOREL_BUILD_DIR
fi
source "$here/wine-env.sh"
[ -f "$WINEPREFIX/.vorel-ready" ] || "$here/make-prefix.sh" >/dev/null 2>&1
if [ -z "${DISPLAY:-}" ]; then
  echo "wine-exec: no DISPLAY; run through scripts/test-session.sh" >&2
  exit 2
fi
exec "$VOREL_WINE" "$prog" "$@"
