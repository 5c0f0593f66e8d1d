#!/usr/bin/env bash
# Runs a command (normally ctest) inside the Windows test environment: a private X server,
# the build's Wine prefix with one persistent wineserver, and the local publisher server.
# Usage: test-session.sh <windows-build-dir> <command...>
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/session.sh"
use_build "$1" || { echo "test-session: could not create the Wine prefix" >&2; exit 1; }
shift

xvfb_pid=""
if [ -z "${VOREL_KEEP_DISPLAY:-}" ] || [ -z "${DISPLAY:-}" ]; then
  start_xvfb 90 140
fi

export PUBLISHER_STATE="$VOREL_BUILD_DIR/publisher"
export PUBLISHER_PORT="${PUBLISHER_PORT:-18461}"
rm -rf "$PUBLISHER_STATE"
publisher_started=""
if [ -x "$here/../tools/publisher/publisher.sh" ]; then
  "$here/../tools/publisher/publisher.sh" start >/dev/null && publisher_started=1
fi
# The tests read the publisher's request log through Wine's Z: drive.
export VOREL_PUBLISHER_LOG="$PUBLISHER_STATE/requests.log"
export VOREL_PUBLISHER_FAULTS="$PUBLISHER_STATE/faults.json"

# A browser control that finds no HTML engine starts Wine's add-on installer and waits for it.
# It normally ends at once; one that hangs holds the test and ctest's output pipe for ever, so
# it is ended after a minute.
(
  while sleep 10; do
    for pid in $(pgrep -f 'appwiz.cpl install_gecko'); do
      tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
      age="$(ps -o etimes= -p "$pid" 2>/dev/null | tr -d ' ')"
      [ -n "$age" ] && [ "$age" -ge 60 ] && kill "$pid"
    done
  done
) >/dev/null 2>&1 </dev/null &
watchdog_pid=$!

cleanup() {
  kill "$watchdog_pid" 2>/dev/null
  wineserver -k >/dev/null 2>&1
  [ -n "$publisher_started" ] && "$here/../tools/publisher/publisher.sh" stop >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT

# One persistent wineserver for the whole run; its helpers must not hold the caller's pipes.
wineserver -p >/dev/null 2>&1 </dev/null
"$VOREL_WINE" wineboot >/dev/null 2>&1 </dev/null

"$@"
status=$?
exit $status
