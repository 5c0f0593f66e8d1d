#!/usr/bin/env bash
# Photographs the main window's system menu and tray menu, open over a main window with two
# stand-in tabs, under a private X server. The pictures land in <build>/menu-shots/.
# Usage: menu-shots.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh
announced_scenes_script menu vorel_scenes.exe 'MenuTest.PicturesOfTheTwoMenus' "$@"
