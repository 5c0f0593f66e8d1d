#!/usr/bin/env bash
# Photographs the popup notice in its three layouts (tools/notice) under a private X server
# into docs/notice-<layout>.png: the bottom-right corner of the screen, where it stands.
# The notices are GBK texts, so the preview runs with the Chinese ANSI code page.
# Usage: notice-shots.sh [windows-build-dir]
# Without an argument it takes the build the Windows tests run in (`make wintest`).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh

if [ "${1:-}" = --inside ]; then
  # Inside the test session: DISPLAY, the prefix, the wineserver and the publisher are ready.
  build="$2"
  port="${PUBLISHER_PORT:-18461}"
  for layout in picture-text:tolvvorel text-only:text-only picture-only:picture-only; do
    name="${layout%%:*}"
    file="${layout#*:}"
    ready="$build/notice-ready-$name.txt"
    photograph_scene "the $name notice" "$ready" "docs/notice-$name.png" \
      -gravity SouthEast -crop 300x260+0+0 +repage -- \
      env LC_ALL=zh_CN.UTF-8 bash scripts/wine-exec.sh "$build/notice_preview.exe" \
      "http://localhost:$port/notice/$file.txt" 'Z:'"${ready//\//\\}" 6 || exit 1
  done
  exit 0
fi

build="$(test_build_dir "${1:-}")"
require_programs "$build" notice_preview.exe
mkdir -p docs
rerun_inside_session "$build"
