#!/usr/bin/env bash
# Download and MD5 throughput over loopback: the program's fetch with its chunk sizes, a plain
# WinINet loop with 64 KiB reads, and curl on the Linux side, as ratios in one run.
# Usage: download-bench.sh [windows-build-dir] (runs itself inside the test session).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh

if [ "${1:-}" = --inside ]; then
  build="$2"
  runs=3
  size=$((20 * 1024 * 1024))
  mkdir -p "$build/bench"
  file="$build/bench/download-20m.bin"
  [ "$(stat -c %s "$file" 2>/dev/null || echo 0)" = "$size" ] || head -c "$size" /dev/urandom >"$file"
  # The session's publisher reads its faults on every request: serve the file at one path.
  small="$build/bench/download-2m.bin"
  head -c $((2 * 1024 * 1024)) "$file" >"$small"
  printf '{"/bench/download.bin": {"file": "%s"}, "/bench/small.bin": {"file": "%s"}}\n' \
    "$file" "$small" >"$PUBLISHER_STATE/faults.json"
  url="http://127.0.0.1:$PUBLISHER_PORT/bench/download.bin"

  curl_best=0
  for _ in $(seq 1 "$runs"); do
    speed="$(curl -s -o "$build/bench/curl.out" -w '%{speed_download}' "$url")"
    curl_best="$(awk -v a="$curl_best" -v b="$speed" 'BEGIN { print (b > a) ? b : a }')"
  done
  rm -f "$build/bench/curl.out"

  out="$(bash scripts/wine-exec.sh "$build/download_bench.exe" "$url" 'C:\vorel-bench.bin' "$runs" \
    "http://127.0.0.1:$PUBLISHER_PORT/bench/small.bin" | tr -d '\r')"
  rm -f "$PUBLISHER_STATE/faults.json"
  grep -v '^result ' <<<"$out"
  awk -v curl="$curl_best" '
    BEGIN { curl_mib = curl / 1048576; printf "  curl (Linux side)                   %8.1f MiB/s\n", curl_mib }
    /^result / && $2 ~ /^(chunk|wininet)/ { printf "  ratio to curl: %-10s %5.2f\n", $2, $3 / curl_mib }
  ' <<<"$out"
  exit 0
fi

build="$(test_build_dir "${1:-}")"
require_programs "$build" download_bench.exe
rerun_inside_session "$build"
