#!/usr/bin/env bash
# Starts, stops and reports the local publisher server in the background.
#   publisher.sh start|stop|status
# Env: PUBLISHER_STATE (default <repo>/build/publisher) holds the pidfile, the request log
#      (requests.log), the server's own output (server.out) and an optional faults.json;
#      PUBLISHER_PORT (default 18461).
# status exits 0 when running, 3 when not (the LSB convention).
set -euo pipefail

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd -P)"
REPO="$(cd "$HERE/../.." && pwd)"
STATE="${PUBLISHER_STATE:-$REPO/build/publisher}"
PORT="${PUBLISHER_PORT:-18461}"
PIDFILE="$STATE/publisher.pid"
LOG="$STATE/requests.log"
OUT="$STATE/server.out"
FAULTS="$STATE/faults.json"
START_TIMEOUT_MS=10000
STOP_TIMEOUT_MS=5000

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Prints the pid of our running server, or fails. A stale pidfile whose pid now belongs to
# some other program must not make us report it, or kill it.
running_pid() {
  [ -r "$PIDFILE" ] || return 1
  local pid
  pid="$(tr -dc '0-9' <"$PIDFILE")"
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null || return 1
  tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF "$HERE/server.py" || return 1
  echo "$pid"
}

port_open() { (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null; }

cmd_start() {
  local pid
  if pid="$(running_pid)"; then
    echo "publisher: already running (pid $pid)"
    return 0
  fi
  mkdir -p "$STATE"
  rm -f "$PIDFILE"
  # setsid: a Ctrl-C in the terminal that ran "make run" must not reach the server.
  # Run without job control, the background child is no group leader, so setsid execs
  # in place and $! is the server itself.
  setsid python3 "$HERE/server.py" --port "$PORT" --log "$LOG" --faults "$FAULTS" \
    --pidfile "$PIDFILE" </dev/null >"$OUT" 2>&1 &
  local child=$!
  local deadline=$(($(now_ms) + START_TIMEOUT_MS))
  # The server writes its pidfile only after binding, so a port held by another program
  # is not mistaken for ours.
  until [ -s "$PIDFILE" ] && port_open; do
    if ! kill -0 "$child" 2>/dev/null; then
      echo "publisher: server exited during start-up:" >&2
      cat "$OUT" >&2
      return 1
    fi
    if [ "$(now_ms)" -ge "$deadline" ]; then
      echo "publisher: port $PORT not accepting after $((START_TIMEOUT_MS / 1000)) s" >&2
      kill "$child" 2>/dev/null || true
      return 1
    fi
    sleep 0.05
  done
  echo "$PORT" >"$STATE/port"
  echo "publisher: running (pid $(cat "$PIDFILE"), http://127.0.0.1:$PORT/, log $LOG)"
}

cmd_stop() {
  local pid
  if ! pid="$(running_pid)"; then
    rm -f "$PIDFILE"
    echo "publisher: not running"
    return 0
  fi
  kill -TERM "$pid"
  local deadline=$(($(now_ms) + STOP_TIMEOUT_MS))
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$(now_ms)" -ge "$deadline" ]; then
      echo "publisher: pid $pid ignored SIGTERM for $((STOP_TIMEOUT_MS / 1000)) s; killing it" >&2
      kill -KILL "$pid" 2>/dev/null || true
      break
    fi
    sleep 0.05
  done
  rm -f "$PIDFILE"
  echo "publisher: stopped"
}

cmd_status() {
  local pid
  if pid="$(running_pid)"; then
    echo "publisher: running (pid $pid, port $(cat "$STATE/port" 2>/dev/null || echo "$PORT"))"
    return 0
  fi
  echo "publisher: not running"
  return 3
}

case "${1:-}" in
  start) cmd_start ;;
  stop) cmd_stop ;;
  status) cmd_status ;;
  *)
    echo "usage: $0 start|stop|status" >&2
    exit 2
    ;;
esac
