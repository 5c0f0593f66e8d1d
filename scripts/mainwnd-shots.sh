#!/usr/bin/env bash
# Photographs the main window of the real program (stand-in game processes as tabs) under a
# private X server: start, one tab, three tabs with a hovered tab, the hall window and the
# new-tab choice. The pictures land in <build>/mainwnd-shots/; the ones worth keeping are
# copied to docs/ by hand. Usage: mainwnd-shots.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  build="$2"
  shots="$build/mainwnd-shots"
  rm -rf "$shots"
  mkdir -p "$shots"
  export VOREL_SHOTS_DIR="Z:${shots//\//\\}"
  bash scripts/wine-exec.sh "$build/vorel_e2e_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='MainWindowSession.DISABLED_ScenesForThePictures' &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    for ready in "$shots"/*.ready; do
      [ -e "$ready" ] || continue
      name="$(basename "$ready" .ready)"
      xwd -root -display "$DISPLAY" | /usr/bin/convert xwd:- "$shots/mainwnd-$name.png"
      mv "$ready" "$shots/$name.taken"
      echo "$shots/mainwnd-$name.png"
    done
    sleep 0.2
  done
  wait "$pid"
  exit $?
fi

build="${1:-}"
if [ -z "$build" ]; then
  arch="$(bash scripts/test-arch.sh)"
  build=build/win
  [ "$arch" = i686 ] || build="build/win-$arch"
fi
[ -f "$build/vorel_e2e_tests.exe" ] || { echo "mainwnd-shots: no $build/vorel_e2e_tests.exe; build it first" >&2; exit 1; }
exec bash scripts/test-session.sh "$build" bash scripts/mainwnd-shots.sh --inside "$(cd "$build" && pwd)"
