#!/usr/bin/env bash
# Photographs the skin gallery (tools/gallery) under a private X server into docs/: one
# picture per scene. Usage: gallery-shots.sh [windows-build-dir]
# Without an argument it takes the build the Windows tests run in (`make wintest`).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  # Inside the test session: DISPLAY, the prefix and the wineserver are ready.
  build="$2"
  for scene in dialogs messages; do
    ready="$build/gallery-ready-$scene.txt"
    rm -f "$ready"
    bash scripts/wine-exec.sh "$build/skin_gallery.exe" "$scene" 4 &
    pid=$!
    for _ in $(seq 1 300); do [ -f "$ready" ] && break; sleep 0.1; done
    [ -f "$ready" ] || { echo "gallery-shots: the $scene scene did not come up" >&2; kill "$pid"; exit 1; }
    xwd -root -display "$DISPLAY" | /usr/bin/convert xwd:- -crop 1280x680+0+0 +repage "docs/gallery-$scene.png"
    wait "$pid" || true
    rm -f "$ready"
    echo "docs/gallery-$scene.png"
  done
  exit 0
fi

build="${1:-}"
if [ -z "$build" ]; then
  arch="$(bash scripts/test-arch.sh)"
  build=build/win
  [ "$arch" = i686 ] || build="build/win-$arch"
fi
[ -f "$build/skin_gallery.exe" ] || { echo "gallery-shots: no $build/skin_gallery.exe; build it first" >&2; exit 1; }
mkdir -p docs
exec bash scripts/test-session.sh "$build" bash scripts/gallery-shots.sh --inside "$(cd "$build" && pwd)"
