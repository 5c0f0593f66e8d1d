#!/usr/bin/env bash
# Photographs the two download dialogs mid-download under a private X server into docs/:
# the real TolvVorel.exe "/update" against a stalled download of a new build, and the
# game-hall dialog of the Windows tests' installer download. Usage: download-shots.sh [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib/session.sh

size_at_least() { [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -ge "$2" ]; }

wait_for_size() {
  wait_until size_at_least "$1" "$2" || { echo "download-shots: $1 did not reach $2 bytes" >&2; return 1; }
}

shoot() {
  sleep 0.7  # the paint after the last progress step
  screen_shot "$1" -crop "$2" +repage
  echo "$1"
}

if [ "${1:-}" = --inside ]; then
  build="$2"
  probe="$build/launch_probe.exe"
  size="$(stat -c %s "$probe")"
  shots="$build/shots"
  rm -rf "$shots"
  mkdir -p "$shots"
  cp "$build/TolvVorel.exe" "$shots/TolvVorel.exe"

  # The update announces the probe as the new build and serves half of it, then stalls.
  half=$((size / 2 / 512 * 512))
  python3 - "$PUBLISHER_STATE/faults.json" "$probe" "$half" "$PUBLISHER_PORT" <<'PY'
import hashlib, json, sys
faults, probe, half, port = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
key = hashlib.md5(open(probe, "rb").read()).hexdigest()[:28] + "3001"
config = "[VerKey]\r\nTolvVorel=%s\r\nUpdAddr=http://localhost:%s/shots/TolvVorel.exe\r\n" % (key, port)
json.dump({"/update/ConfigTolvVorel.htm": {"body": config},
           "/shots/TolvVorel.exe": {"file": probe, "stall_after": half, "stall": 6}}, open(faults, "w"))
PY
  bash scripts/wine-exec.sh "$shots/TolvVorel.exe" /update &
  pid=$!
  wait_for_size "$shots/NewTolvVorel.exe" "$half"
  shoot docs/download-update-progress.png 560x260+360+382
  wait "$pid" || true
  rm -f "$PUBLISHER_STATE/faults.json"

  # The game-hall dialog: the Windows test that downloads a good installer stalls halfway.
  # The user's temporary folder: C:\users\<user>\Temp in the Wine of Debian 12, under
  # AppData\Local in older ones.
  temp="$WINEPREFIX/drive_c/users/$(whoami)/Temp"
  [ -d "$temp" ] || temp="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Local/Temp"
  temp="$temp/VorelGoodHall.exe"
  rm -f "$temp"
  bash scripts/wine-exec.sh "$build/vorel_win_tests.exe" \
    --gtest_filter='HallDownload.AGoodInstallerShowsItsPercentageIsStartedAndTheCaptionSaysSo' >/dev/null &
  pid=$!
  wait_for_size "$temp" "$((size / 2 / 1024 * 1024))"
  shoot docs/download-game-hall.png 560x280+360+372
  wait "$pid" || true
  exit 0
fi

build="$(test_build_dir "${1:-}")"
require_programs "$build" launch_probe.exe
mkdir -p docs
rerun_inside_session "$build"
