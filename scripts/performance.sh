#!/usr/bin/env bash
# Every benchmark of the project in one test session, side by side, then one table of ratios
# (the table of docs/PERFORMANCE.md): start-up, idle CPU, skin paint, keyboard hook, download
# and MD5 throughput, executable size and peak working set, each next to its yardstick.
# Usage: performance.sh [windows-test-build-dir [shipped-build-dir]]
# Env: PERF_IDLE_SECONDS (default 180, as the CPU clock ticks every 10 ms) for the idle
# measurements, PERF_RUNS (default 7) for the start-ups. The raw output is kept in <test build>/performance/raw.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh

# Prints the number that follows `label` on the first line of the raw output holding it.
after() {
  awk -v l="$1" 'index($0, l) { s = substr($0, index($0, l) + length(l))
    if (match(s, /[0-9]+(\.[0-9]+)?/)) { print substr(s, RSTART, RLENGTH); exit } }' "$raw"
}
result() { awk -v k="$1" '$1 == "result" && $2 == k { print $3; exit }' "$raw"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || b + 0 <= 0) print "—"; else printf "%.3g", a / b }'; }
row() { printf '| %s | %s | %s | %s | %s |\n' "$@"; }

# The table of ratios from the raw output $raw, into $out/table.md and on the screen.
render_table() {
  info() { awk -v k="$1" '$1 == "info" && $2 == k { $1 = ""; $2 = ""; sub(/^  /, ""); print; exit }' "$raw"; }
  kib() { awk -v b="$1" 'BEGIN { if (b == "") print "—"; else printf "%.0f KiB", b / 1024 }'; }
  # The figure after a label, in the block that follows a heading line.
  after_in() {
    awk -v h="$1" -v l="$2" 'index($0, h) { on = 1 } on && index($0, l) {
      s = substr($0, index($0, l) + length(l))
      if (match(s, /[0-9]+(\.[0-9]+)?/)) { print substr(s, RSTART, RLENGTH); exit } }' "$raw"
  }
  local skin blit resized child child_blit strip whole idle_bench hook_other hook_none hook_decision chunk512 chunk1024
  local wininet wininet512 curl md5 md5sum_linux idle_main idle_minimal size_shipped size_test size_minimal
  skin="$(after 'stretched skin paint 1920x1040 (nine pieces, icon, title, one BitBlt):')"
  blit="$(after 'plain BitBlt 1920x1040:')"
  resized="$(after 'first paint after a size change 1920x1039:')"
  child="$(after 'child background 108x28 from the window'"'"'s skin:')"
  child_blit="$(after 'plain BitBlt 108x28:')"
  strip="$(after 'strip repaint (567 x 22 invalid):')"
  whole="$(after 'whole window repaint, for comparison:')"
  idle_bench="$(grep -F 'main-window process, three tabs, idle' "$raw" | sed -E 's/.*\(([0-9.]+) %\).*/\1/' | head -1)"
  hook_other="$(after 'a key of no hotkey')"
  hook_none="$(after 'no tab yet')"
  hook_decision="$(after_in 'of which the decision alone' 'a key of no hotkey')"
  chunk512="$(after 'HttpDownloadToFile, 512-byte reads')"
  chunk1024="$(after 'HttpDownloadToFile, 1024-byte reads')"
  wininet="$(after 'plain WinINet loop, 64 KiB reads')"
  wininet512="$(after 'WinINet alone, 512-byte reads')"
  curl="$(after 'curl (Linux side)')"
  md5="$(after 'MD5 (CryptoAPI, 1024-byte reads)')"
  md5sum_linux="$(after 'md5sum (Linux side)')"
  idle_main="$(result idle_cpu_linux_TolvVorel.exe)"
  idle_minimal="$(result idle_cpu_linux_minimal_dialog.exe)"
  size_shipped="$(info size_shipped)"
  size_test="$(info size_test)"
  size_minimal="$(info size_minimal)"

  local table="$out/table.md"
  {
    echo "Measured $(info started) on $(info cpu),"
    echo "$(info wine); load average $(info load);"
    echo "idle figures over $(info seconds) s, start-ups the median of $(info runs)."
    echo
    row "Measure" "TolvVorel" "Yardstick" "Yardstick's figure" "Ratio"
    row "---" "---:" "---" "---:" "---:"
    row "Start-up to a visible main window (median)" "$(result startup_main_ms) ms" "minimal dialog program, same Wine" "$(result startup_minimal_ms) ms" "$(ratio "$(result startup_main_ms)" "$(result startup_minimal_ms)")"
    row "Start-up to the first login window (median)" "$(result startup_login_ms) ms" "minimal dialog program" "$(result startup_minimal_ms) ms" "$(ratio "$(result startup_login_ms)" "$(result startup_minimal_ms)")"
    row "Idle CPU, real main-window process, three tabs" "$idle_main %" "minimal dialog posting to the three tabs every 400 ms" "$idle_minimal %" "$(ratio "$idle_main" "$idle_minimal")"
    row "Idle CPU, main window in the test process, three tabs" "${idle_bench:-—} %" "minimal dialog (row above)" "$idle_minimal %" "$(ratio "$idle_bench" "$idle_minimal")"
    row "Skin paint 1920 × 1040, repeated" "$skin ms" "plain BitBlt of the same size" "$blit ms" "$(ratio "$skin" "$blit")"
    row "Skin paint 1920 × 1039, first after a size change" "$resized ms" "plain BitBlt 1920 × 1040" "$blit ms" "$(ratio "$resized" "$blit")"
    row "Skinned child's background 108 × 28" "$child ms" "plain BitBlt of the child's size" "$child_blit ms" "$(ratio "$child" "$child_blit")"
    row "Tab strip repaint at 1920 px" "$strip ms" "whole main window repaint" "$whole ms" "$(ratio "$strip" "$whole")"
    if [ -n "$hook_other" ]; then
      row "Keyboard hook, per key event of no hotkey (one tab)" "$hook_other ns" "the hook before any tab (passes every key on)" "$hook_none ns" "$(ratio "$hook_other" "$hook_none")"
    fi
    if [ -n "$hook_decision" ]; then
      row "Keyboard hook, its decision alone for that key" "$hook_decision ns" "the whole hook procedure (with CallNextHookEx)" "$hook_other ns" "$(ratio "$hook_decision" "$hook_other")"
    fi
    row "Download, 512-byte reads (update, notice picture)" "$chunk512 MiB/s" "plain WinINet loop, 64 KiB reads" "$wininet MiB/s" "$(ratio "$chunk512" "$wininet")"
    row "Download, 512-byte reads, our share" "$chunk512 MiB/s" "WinINet alone, 512-byte reads, no file" "$wininet512 MiB/s" "$(ratio "$chunk512" "$wininet512")"
    row "Download, 1024-byte reads (game hall)" "$chunk1024 MiB/s" "plain WinINet loop, 64 KiB reads" "$wininet MiB/s" "$(ratio "$chunk1024" "$wininet")"
    row "Download, plain WinINet loop" "$wininet MiB/s" "curl on the Linux side" "$curl MiB/s" "$(ratio "$wininet" "$curl")"
    row "Download, 512-byte reads" "$chunk512 MiB/s" "curl on the Linux side" "$curl MiB/s" "$(ratio "$chunk512" "$curl")"
    row "MD5 of the version key (CryptoAPI, 1024-byte reads)" "$md5 MiB/s" "md5sum on the Linux side" "$(printf '%.1f' "${md5sum_linux:-0}") MiB/s" "$(ratio "$md5" "$md5sum_linux")"
    row "Executable size, shipped i686" "$(kib "$size_shipped")" "minimal dialog program (x86-64)" "$(kib "$size_minimal")" "$(ratio "$size_shipped" "$size_minimal")"
    row "Executable size, x86-64 test build" "$(kib "$size_test")" "minimal dialog program (x86-64)" "$(kib "$size_minimal")" "$(ratio "$size_test" "$size_minimal")"
    row "Peak working set, main-window process at its first login" "$(result peak_ws_main_start_kib) KiB" "minimal dialog program" "$(result peak_ws_minimal_kib) KiB" "$(ratio "$(result peak_ws_main_start_kib)" "$(result peak_ws_minimal_kib)")"
    row "Peak working set, main-window process, three tabs" "$(result peak_ws_main_tabs_kib) KiB" "minimal dialog program" "$(result peak_ws_minimal_idle_kib) KiB" "$(ratio "$(result peak_ws_main_tabs_kib)" "$(result peak_ws_minimal_idle_kib)")"
  } >"$table"
  echo
  cat "$table"
  echo
  echo "performance: raw output in $raw, table in $table"
}

# The Linux pids of this session's Wine processes that run a Windows program (other checkouts
# may run the same program in prefixes of their own).
session_pids() {
  local f p
  for f in $(grep -lasF "$1" /proc/[0-9]*/cmdline); do
    p="${f%/cmdline}"
    grep -qszxF "WINEPREFIX=$WINEPREFIX" "$p/environ" && echo "${p#/proc/}"
  done
  return 0
}

# utime + stime in clock ticks of those of the pids still running, and how many they are.
cpu_ticks() {
  local total=0 count=0 pid t
  for pid in "$@"; do
    # The fields after the command name, which may hold spaces: utime and stime are 12 and 13.
    t="$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | awk '{ print $12 + $13 }')"
    [ -n "$t" ] || continue
    total=$((total + t))
    count=$((count + 1))
  done
  echo "$total $count"
}

if [ "${1:-}" = --inside ]; then
  build="$2"
  shipped="$3"
  out="$build/performance"
  mkdir -p "$out"
  raw="$out/raw.txt"
  : >"$raw"
  seconds="${PERF_IDLE_SECONDS:-180}"
  export VOREL_BENCH_SECONDS="$seconds" VOREL_BENCH_RUNS="${PERF_RUNS:-7}"
  load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
  started="$(date -u '+%Y-%m-%d %H:%M UTC')"
  step() { echo "== $*" | tee -a "$raw"; }
  run() { "$@" 2>&1 | tr -d '\r' | tee -a "$raw"; }

  step "start-up, working set and idle CPU of the real program beside a minimal dialog"
  # Wine reads another process's CPU times as zero: the idle window's are taken here from
  # /proc at the two marks the benchmark sets.
  marks="$out/marks"
  rm -rf "$marks"
  mkdir -p "$marks"
  VOREL_BENCH_MARKS="Z:${marks//\//\\}" bash scripts/wine-exec.sh "$build/vorel_benchmarks.exe" \
    --gtest_filter='StartupBench.*' >"$out/startup.txt" 2>&1 &
  bench=$!
  : >"$out/idle-linux.txt"
  declare -A pids=() cpu_begin=()
  t_begin=0
  while kill -0 "$bench" 2>/dev/null; do
    for mark in idle-begin idle-end; do
      [ -e "$marks/$mark" ] && [ ! -e "$marks/$mark.taken" ] || continue
      now=$(date +%s%N)
      for program in TolvVorel.exe minimal_dialog.exe; do
        [ "$mark" = idle-begin ] && pids[$program]="$(session_pids "$program" | tr '\n' ' ')"
        # shellcheck disable=SC2086
        read -r ticks found < <(cpu_ticks ${pids[$program]})
        if [ "$found" != 1 ]; then
          echo "performance: $found processes of $program in this prefix at $mark" | tee -a "$out/idle-linux.txt"
        fi
        if [ "$mark" = idle-begin ]; then
          cpu_begin[$program]=$ticks
          t_begin=$now
        else
          awk -v d=$((ticks - ${cpu_begin[$program]:-0})) -v hz="$(getconf CLK_TCK)" \
            -v ns=$((now - t_begin)) -v p="$program" 'BEGIN {
              printf "%s: %.2f s CPU over %.1f s idle (utime + stime of its Wine process)\n", p, d / hz, ns / 1e9
              printf "result idle_cpu_linux_%s %.4f\n", p, d / hz * 100 / (ns / 1e9) }' >>"$out/idle-linux.txt"
        fi
      done
      touch "$marks/$mark.taken"
    done
    sleep 0.05
  done
  wait "$bench" || true
  tr -d '\r' <"$out/startup.txt" | tee -a "$raw"
  tee -a "$raw" <"$out/idle-linux.txt"
  step "main window in the test process: hit test, strip repaint, idle CPU with three tabs"
  run bash scripts/wine-exec.sh "$build/vorel_benchmarks.exe" --gtest_filter='MainWindowBench.*'
  step "keyboard hook procedure"
  run bash scripts/wine-exec.sh "$build/vorel_benchmarks.exe" --gtest_filter='KeyboardHookBench.*'
  step "skin paint against a plain BitBlt"
  run bash scripts/wine-exec.sh "$build/skin_paint_bench.exe" 100
  step "download and MD5 throughput"
  run bash scripts/download-bench.sh --inside "$build"
  # MD5 of the same file on the Linux side, best of three.
  file="$build/bench/download-20m.bin"
  best=0
  for _ in 1 2 3; do
    t0=$(date +%s%N)
    md5sum "$file" >/dev/null
    t1=$(date +%s%N)
    best="$(awk -v a="$best" -v s="$(stat -c %s "$file")" -v ns=$((t1 - t0)) \
      'BEGIN { v = s / 1048576 / (ns / 1e9); print (v > a) ? v : a }')"
  done
  echo "md5sum (Linux side) $best MiB/s" | tee -a "$raw"

  # What the table's heading says of the run, kept with the figures.
  cpu_field() { grep -m1 "^$1" /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'; }
  hypervisor=""
  grep -qw hypervisor /proc/cpuinfo && hypervisor=", virtual machine"
  {
    echo "info started $started"
    echo "info cpu $(nproc) cores of $(cpu_field 'model name') (family $(cpu_field 'cpu family'), model $(cpu_field 'model\s*:')$hypervisor)"
    echo "info wine $("$WINELOADER" --version 2>/dev/null || echo '?') ($(basename "$WINELOADER")), test build $(cat "$build/vorel-arch" 2>/dev/null || echo '?')"
    echo "info load $load_before at the start, $(cut -d' ' -f1-3 /proc/loadavg) at the end"
    echo "info seconds $seconds"
    echo "info runs $VOREL_BENCH_RUNS"
    echo "info size_shipped $(stat -c %s "$shipped/TolvVorel.exe" 2>/dev/null || echo)"
    echo "info size_test $(stat -c %s "$build/TolvVorel.exe")"
    echo "info size_minimal $(stat -c %s "$build/minimal_dialog.exe")"
  } >>"$raw"
  render_table
  exit 0
fi

# Only the table again, from the raw output of the last run.
if [ "${1:-}" = --table ]; then
  out="${2:?usage: performance.sh --table <windows-test-build-dir>}/performance"
  raw="$out/raw.txt"
  render_table
  exit 0
fi

build="$(test_build_dir "${1:-}")"
shipped="${2:-$(dirname "$build")/win}"
require_programs "$build" vorel_benchmarks.exe skin_paint_bench.exe download_bench.exe \
  minimal_dialog.exe
[ -f "$shipped/TolvVorel.exe" ] || echo "performance: no $shipped/TolvVorel.exe (make win); its size stays empty" >&2
rerun_inside_session "$build" "$(cd "$shipped" 2>/dev/null && pwd || echo "$shipped")"
