#!/usr/bin/env bash
# Photographs the main window's system menu and tray menu, open over a main window with two
# stand-in tabs, under a private X server. The pictures land in <build>/menu-shots/.
# Usage: menu-shots.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  build="$2"
  shots="$build/menu-shots"
  rm -rf "$shots"
  mkdir -p "$shots"
  export VOREL_SHOTS_DIR="Z:${shots//\//\\}"
  bash scripts/wine-exec.sh "$build/vorel_win_tests.exe" --gtest_also_run_disabled_tests \
    --gtest_filter='MenuTest.DISABLED_PicturesOfTheTwoMenus' &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    for ready in "$shots"/*.ready; do
      [ -e "$ready" ] || continue
      name="$(basename "$ready" .ready)"
      xwd -root -display "$DISPLAY" | /usr/bin/convert xwd:- "$shots/menu-$name.png"
      mv "$ready" "$shots/$name.taken"
      echo "$shots/menu-$name.png"
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
[ -f "$build/vorel_win_tests.exe" ] || { echo "menu-shots: no $build/vorel_win_tests.exe; build it first" >&2; exit 1; }
exec bash scripts/test-session.sh "$build" bash scripts/menu-shots.sh --inside "$(cd "$build" && pwd)"
