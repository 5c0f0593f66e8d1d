#!/usr/bin/env bash
# Photographs the popup notice in its three layouts (tools/notice) under a private X server
# into docs/notice-<layout>.png: the bottom-right corner of the screen, where it stands.
# The notices are GBK texts, so the preview runs with the Chinese ANSI code page.
# Usage: notice-shots.sh [windows-build-dir]
# Without an argument it takes the build the Windows tests run in (`make wintest`).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --inside ]; then
  # Inside the test session: DISPLAY, the prefix, the wineserver and the publisher are ready.
  build="$2"
  port="${PUBLISHER_PORT:-18461}"
  for layout in picture-text:tolvvorel text-only:text-only picture-only:picture-only; do
    name="${layout%%:*}"
    file="${layout#*:}"
    ready="$build/notice-ready-$name.txt"
    rm -f "$ready"
    LC_ALL=zh_CN.UTF-8 bash scripts/wine-exec.sh "$build/notice_preview.exe" \
      "http://localhost:$port/notice/$file.txt" 'Z:'"${ready//\//\\}" 6 &
    pid=$!
    for _ in $(seq 1 300); do [ -f "$ready" ] && break; sleep 0.1; done
    [ -f "$ready" ] || { echo "notice-shots: the $name notice did not come up" >&2; kill "$pid"; exit 1; }
    xwd -root -display "$DISPLAY" | /usr/bin/convert xwd:- -gravity SouthEast -crop 300x260+0+0 +repage "docs/notice-$name.png"
    wait "$pid" || true
    rm -f "$ready"
    echo "docs/notice-$name.png"
  done
  exit 0
fi

build="${1:-}"
if [ -z "$build" ]; then
  arch="$(bash scripts/test-arch.sh)"
  build=build/win
  [ "$arch" = i686 ] || build="build/win-$arch"
fi
[ -f "$build/notice_preview.exe" ] || { echo "notice-shots: no $build/notice_preview.exe; build it first" >&2; exit 1; }
mkdir -p docs
exec bash scripts/test-session.sh "$build" bash scripts/notice-shots.sh --inside "$(cd "$build" && pwd)"
