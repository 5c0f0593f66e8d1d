# Sourced by the scripts that run Windows programs of a build under Wine: which build, the
# prefix, a private X server, and pictures of its screen. The picture and benchmark scripts
# start themselves again inside a test session (scripts/test-session.sh) with --inside.

vorel_scripts="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The calling script's name, for its messages.
vorel_who="$(basename "$0" .sh)"

# The named build, else the one the Windows tests run in (`make wintest`): the shipped 32-bit
# build where this machine executes 32-bit code, else the 64-bit one beside it.
test_build_dir() {
  local arch
  if [ -n "${1:-}" ]; then
    echo "$1"
    return 0
  fi
  arch="$(bash "$vorel_scripts/test-arch.sh")"
  if [ "$arch" = i686 ]; then echo build/win; else echo "build/win-$arch"; fi
}

# Ends the script when the build lacks one of the programs: require_programs <build> <exe...>
require_programs() {
  local build="$1" exe
  shift
  for exe in "$@"; do
    [ -f "$build/$exe" ] || { echo "$vorel_who: no $build/$exe; build it first (make wintest)" >&2; exit 1; }
  done
}

# Replaces the calling script by itself inside a test session, where it gets --inside, the
# build's absolute path and the further arguments. It is called from the repository's top.
rerun_inside_session() {
  local build="$1"
  shift
  exec bash "$vorel_scripts/test-session.sh" "$build" \
    bash "scripts/$(basename "$0")" --inside "$(cd "$build" && pwd)" "$@"
}

# The build's Wine environment, with its prefix made once: use_build <windows-build-dir>.
use_build() {
  VOREL_BUILD_DIR="$(cd "$1" && pwd)"
  export VOREL_BUILD_DIR
  source "$vorel_scripts/wine-env.sh"
  "$vorel_scripts/make-prefix.sh"
}

# Starts Xvfb on the first free display of a range and exports DISPLAY; xvfb_pid stays empty
# when every display is taken. Callers use ranges of their own, so that a `make run` and a
# test session on one machine do not race for a display: start_xvfb <first> <last>
start_xvfb() {
  local n
  xvfb_pid=""
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    xvfb_pid=$!
    for _ in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
    export DISPLAY=":$n"
    return 0
  done
}

# The whole screen into a PNG file, through convert's options if any:
# screen_shot <png> [convert options...]
screen_shot() {
  local png="$1"
  shift
  xwd -root -display "$DISPLAY" | /usr/bin/convert xwd:- "$@" "$png"
}

# True as soon as the command succeeds, polled for up to 30 s: generous, since a loaded
# machine can take many seconds to bring a window up.
wait_until() {
  for _ in $(seq 1 300); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# Runs a program that writes <ready> once its scene is painted, photographs the screen then
# and lets the program end; false, with a message, when the scene does not come up.
# photograph_scene <what> <ready> <png> [convert options...] -- <command...>
photograph_scene() {
  local what="$1" ready="$2" png="$3" pid options=()
  shift 3
  while [ "$1" != -- ]; do
    options+=("$1")
    shift
  done
  shift
  rm -f "$ready"
  "$@" &
  pid=$!
  if ! wait_until test -f "$ready"; then
    echo "$vorel_who: $what did not come up" >&2
    kill "$pid"
    return 1
  fi
  screen_shot "$png" "${options[@]}" || return 1
  wait "$pid" || true
  rm -f "$ready"
  echo "$png"
}

# Runs a scene program and photographs the screen whenever it announces a scene with
# <dir>/<name>.ready, into <dir>/<prefix><name>.png; the program goes on once it sees
# <name>.taken. Returns the program's exit status: photograph_announced <dir> <prefix> <command...>
photograph_announced() {
  local shots="$1" prefix="$2" pid ready name
  shift 2
  rm -rf "$shots"
  mkdir -p "$shots"
  VOREL_SHOTS_DIR="Z:${shots//\//\\}" "$@" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    for ready in "$shots"/*.ready; do
      [ -e "$ready" ] || continue
      name="$(basename "$ready" .ready)"
      screen_shot "$shots/$prefix$name.png"
      mv "$ready" "$shots/$name.taken"
      echo "$shots/$prefix$name.png"
    done
    sleep 0.2
  done
  wait "$pid"
}

# All of a script that photographs the scenes one test announces, into
# <build>/<name>-shots/<name>-<scene>.png, run in a test session of its own:
# announced_scenes_script <name> <test executable> <test> [script arguments...]
announced_scenes_script() {
  local name="$1" exe="$2" test="$3" build
  shift 3
  if [ "${1:-}" = --inside ]; then
    photograph_announced "$2/$name-shots" "$name-" bash scripts/wine-exec.sh "$2/$exe" \
      --gtest_filter="$test"
    exit $?
  fi
  build="$(test_build_dir "${1:-}")"
  require_programs "$build" "$exe"
  rerun_inside_session "$build"
}
