#!/usr/bin/env bash
# Every window of the program photographed into docs/ in one test session under a private X
# server (docs/screens.md shows them): the skin gallery and message boxes, the popup notice,
# the main window with its tabs, hall window and new-tab choice, the first login, the
# favourites and hotkey settings dialogs, the download dialogs, the uninstall boxes, and the
# system and tray menus where their scene exists. Each part is also a script of its own.
# With VOREL_SHOTS_DPI=120 (or 144) the display has that DPI, and each picture lands beside
# its 96-DPI one as docs/<name>-<dpi>dpi.png, the 96-DPI pictures staying as they were.
# Usage: [VOREL_SHOTS_DPI=<dpi>] screenshots.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh

# Converts the BMP files a scene saved into docs/<name>.png; false when one is missing.
convert_bmps() {
  local folder="$1" ok=0 name
  shift
  for name in "$@"; do
    if [ -f "$folder/$name.bmp" ]; then
      /usr/bin/convert "$folder/$name.bmp" "docs/$name.png" && echo "docs/$name.png"
    else
      echo "screenshots: no $name.bmp" >&2
      ok=1
    fi
  done
  return $ok
}

# The area around the white of an open menu in a full-screen picture, below the caption band
# and above the notice's corner, with a margin; false when there is none.
white_area() {
  local box w h x y
  box="$(/usr/bin/convert "$1" -crop 1280x720+0+40 +repage -fill black -fuzz 1% +opaque white \
    -format '%@' info: 2>/dev/null)" || return 1
  IFS='x+' read -r w h x y <<<"$box"
  [ "${w:-0}" -ge 60 ] && [ "${h:-0}" -ge 60 ] || return 1
  echo "$((w + 120))x$((h + 120))+$((x > 60 ? x - 60 : 0))+$((y + 40 > 60 ? y + 40 - 60 : 0))"
}

# Keeps an area of a full-screen picture: crop <source> <geometry> <docs name>.
crop() {
  [ -f "$1" ] || { echo "screenshots: no $1" >&2; return 1; }
  /usr/bin/convert "$1" -crop "$2" +repage "docs/$3.png" && echo "docs/$3.png"
}

if [ "${1:-}" = --inside ]; then
  build="$2"
  failed=()
  # A player's Windows has the Chinese ANSI code page, the one the publisher's notice is
  # written in; Wine takes it from the locale (glibc need not have it, and bash says so).
  export LC_ALL=zh_CN.UTF-8 2>/dev/null
  part() {
    echo "== $1"
    shift
    "$@" || failed+=("$*")
  }

  # Another DPI: set for every program started from here on, the 96-DPI pictures kept aside
  # and put back at the end, the new ones renamed after their DPI.
  dpi="${VOREL_SHOTS_DPI:-}"
  if [ -n "$dpi" ]; then
    kept="$(mktemp -d)"
    cp docs/*.png "$kept/"
    at_dpi() {
      local f name
      for f in docs/*.png; do
        name="$(basename "$f" .png)"
        case "$name" in *dpi) continue ;; esac
        if ! cmp -s "$f" "$kept/$name.png"; then
          mv "$f" "docs/$name-${dpi}dpi.png" && echo "docs/$name-${dpi}dpi.png"
        fi
        [ -f "$kept/$name.png" ] && cp "$kept/$name.png" "$f"
      done
      rm -rf "$kept"
      "$WINELOADER" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 </dev/null
    }
    trap at_dpi EXIT
    "$WINELOADER" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
      >/dev/null 2>&1 </dev/null
  fi

  part "skin gallery and message boxes" bash scripts/gallery-shots.sh --inside "$build"
  part "popup notice" bash scripts/notice-shots.sh --inside "$build"
  part "download dialogs" bash scripts/download-shots.sh --inside "$build"

  # The main window's scenes (scripts/mainwnd-shots.sh) land in the build folder as whole
  # screens. Kept: the first login with the notice, three tabs, the new-tab choice, and the
  # caption band of one tab, three tabs with the hovered tab's tooltip and the close icon.
  # (The tabs' and the hall's pages are blank: they are stand-in windows, see screens.md.)
  part "main window" bash scripts/mainwnd-shots.sh --inside "$build"
  m="$build/mainwnd-shots"
  part "main window pictures" cp "$m/mainwnd-start.png" "$m/mainwnd-three-tabs.png" \
    "$m/mainwnd-new-tab-choice.png" docs/
  if [ -f "$m/mainwnd-one-tab.png" ] && [ -f "$m/mainwnd-close-icon.png" ]; then
    /usr/bin/convert \( "$m/mainwnd-one-tab.png" -crop 1280x36+0+0 +repage \) \
      \( "$m/mainwnd-three-tabs.png" -crop 1280x60+0+0 +repage \) \
      \( "$m/mainwnd-close-icon.png" -crop 1280x36+0+0 +repage \) \
      -background '#236f96' -splice 0x6 -append -chop 0x6 docs/mainwnd-caption.png &&
      echo docs/mainwnd-caption.png
  else
    failed+=(mainwnd-caption)
  fi

  # Dialogs of their own scenes, and the uninstall boxes of the install scenarios, saved by
  # the programs themselves from the screen as BMP files.
  bmp="$build/doc-bmp"
  rm -rf "$bmp"
  mkdir -p "$bmp"
  export VOREL_SCREENSHOT_DIR="Z:${bmp//\//\\}"
  part "favourites and hotkey settings" bash scripts/wine-exec.sh "$build/vorel_scenes.exe"
  # Without the Chinese locale: glibc lacks it here, and Wine then cannot write the shortcuts'
  # Chinese file names.
  part "uninstall question and message" env -u LC_ALL bash scripts/wine-exec.sh \
    "$build/vorel_e2e_tests.exe" --gtest_filter='InstallScenario.UninstallAnswered*'
  unset VOREL_SCREENSHOT_DIR
  part "dialog pictures" convert_bmps "$bmp" favourites favourites-refused settings \
    settings-conflict uninstall-question uninstall-done

  # The menus.
  part "system and tray menus" bash scripts/menu-shots.sh --inside "$build"
  part "system menu" crop "$build/menu-shots/menu-system-menu.png" 440x170+840+0 menu-system
  # The tray menu opens at the cursor. Near the screen's corner it now and then reaches the X
  # screen unpainted (black, as Wine leaves some owned pop-ups): then the picture in docs/
  # stays as it was.
  if area="$(white_area "$build/menu-shots/menu-tray-menu.png")"; then
    part "tray menu" crop "$build/menu-shots/menu-tray-menu.png" "$area" menu-tray
  else
    echo "screenshots: no painted tray menu in the picture; docs/menu-tray.png kept" >&2
  fi

  if [ ${#failed[@]} -gt 0 ]; then
    printf 'screenshots: failed: %s\n' "${failed[@]}" >&2
    exit 1
  fi
  exit 0
fi

build="$(test_build_dir "${1:-}")"
require_programs "$build" vorel_win_tests.exe vorel_e2e_tests.exe vorel_scenes.exe skin_gallery.exe notice_preview.exe \
  launch_probe.exe
mkdir -p docs
rerun_inside_session "$build"
