#!/usr/bin/env bash
# Photographs the skin gallery (tools/gallery) under a private X server into docs/: one
# picture per scene. Usage: gallery-shots.sh [windows-build-dir]
# Without an argument it takes the build the Windows tests run in (`make wintest`).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh

if [ "${1:-}" = --inside ]; then
  # Inside the test session: DISPLAY, the prefix and the wineserver are ready.
  build="$2"
  for scene in dialogs messages; do
    photograph_scene "the $scene scene" "$build/gallery-ready-$scene.txt" "docs/gallery-$scene.png" \
      -crop 1280x680+0+0 +repage -- bash scripts/wine-exec.sh "$build/skin_gallery.exe" "$scene" 4 || exit 1
  done
  exit 0
fi

build="$(test_build_dir "${1:-}")"
require_programs "$build" skin_gallery.exe
mkdir -p docs
rerun_inside_session "$build"
