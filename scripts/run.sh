#!/usr/bin/env bash
# `make run`: the local publisher server, then TolvVorel.exe under Wine. On a machine with
# no X display the launcher runs under Xvfb and a screenshot of the screen is saved.
# Usage: run.sh <windows-build-dir> [launcher arguments...]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
source "$here/lib/session.sh"
use_build "$1" || exit 1
shift

export PUBLISHER_STATE="$VOREL_BUILD_DIR/publisher-run"
"$here/../tools/publisher/publisher.sh" start || exit 1
echo "run: publisher server on http://127.0.0.1:${PUBLISHER_PORT:-18461}/ (log: $PUBLISHER_STATE/requests.log)"

headless=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  start_xvfb 70 89
fi

# The launcher is run as installed, from its product folder, as the desktop shortcut does.
product="$WINEPREFIX/drive_c/ProgramData/Vorel/GameLogin"
mkdir -p "$product"
cp "$VOREL_BUILD_DIR/TolvVorel.exe" "$product/TolvVorel.exe"
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(/VorelD)
# A player's Windows has the Chinese ANSI code page, the one the publisher's notice is written
# in; Wine takes it from the locale (glibc need not have that locale).
wine_locale=(env LC_ALL=zh_CN.UTF-8)

if [ -n "$headless" ]; then
  "${wine_locale[@]}" "$VOREL_WINE" 'C:\ProgramData\Vorel\GameLogin\TolvVorel.exe' "${args[@]}" >/dev/null 2>&1 &
  launcher=$!
  # Give the window time to appear, and the publisher's notice that follows it a few seconds
  # later, then show the newcomer what it looks like.
  for _ in $(seq 1 60); do
    kill -0 "$launcher" 2>/dev/null || break
    sleep 0.25
  done
  shot="$VOREL_BUILD_DIR/run-screenshot.png"
  screen_shot "$shot" && echo "run: screenshot saved to $shot"
  if kill -0 "$launcher" 2>/dev/null; then
    echo "run: the launcher is running headless on $DISPLAY; press Enter to end it"
    read -r _ || true
  else
    echo "run: the launcher has ended"
  fi
  wineserver -k >/dev/null 2>&1
  kill "$xvfb_pid" 2>/dev/null
else
  "${wine_locale[@]}" "$VOREL_WINE" 'C:\ProgramData\Vorel\GameLogin\TolvVorel.exe' "${args[@]}"
  wineserver -w
fi
"$here/../tools/publisher/publisher.sh" stop >/dev/null

# What a newcomer saw is only the start: Debian has no HTML engine for Wine, so no page loads.
cat <<'TEXT'

run: what Wine could show is the login picture and, a few seconds later, the publisher's
     notice. On Windows the login page would load inside the picture; logging in there
     makes the account a tab of the skinned main window (up to three tabs, the "系统" menu,
     the tray icon, the boss key F10, the sound key Ctrl+Q). Wine here has no HTML engine,
     so no page renders and no login can happen by hand.
     Every window, photographed with accounts logged in by a stand-in: docs/screens.md
     (make them again with `make screenshots`).
TEXT
