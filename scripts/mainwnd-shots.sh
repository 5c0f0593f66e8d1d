#!/usr/bin/env bash
# Photographs the main window of the real program (stand-in game processes as tabs) under a
# private X server: start, one tab, three tabs with a hovered tab, the hall window and the
# new-tab choice. The pictures land in <build>/mainwnd-shots/; the ones worth keeping are
# copied to docs/ by hand. Usage: mainwnd-shots.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh
announced_scenes_script mainwnd vorel_scenes.exe 'MainWindowSession.ScenesForThePictures' "$@"
