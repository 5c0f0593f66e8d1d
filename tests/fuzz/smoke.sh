#!/usr/bin/env bash
# One short, repeatable run of a fuzz target from its seeds; any finding fails it.
# Usage: smoke.sh <target> <seed corpus> <work folder> <runs>
set -euo pipefail
target=$1 seeds=$2 work=$3 runs=$4
# New inputs go to the first corpus folder: a fresh one in the build, never the seeds.
rm -rf "$work"
mkdir -p "$work/corpus" "$work/findings"
export UBSAN_OPTIONS=print_stacktrace=1
exec "$target" -runs="$runs" -seed=1 -max_len=4096 -artifact_prefix="$work/findings/" \
  "$work/corpus" "$seeds"
