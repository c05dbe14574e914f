#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build, starting from its seed corpus
# (fuzz/corpus/<target>/, plus BUILD_DIR/fuzz/seeds/<target>/ for seeds the
# build makes), and fails on any finding. SECONDS is the time for the whole
# run, shared evenly between the targets.
# usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:?build folder}
TOTAL_SECONDS=${2:-60}

shopt -s nullglob
targets=("$BUILD_DIR"/fuzz/*_fuzzer)
if ((${#targets[@]} == 0)); then
  echo "no fuzz targets built"
  exit 0
fi
# Each target gets at least a second: libFuzzer reads 0 as no limit at all.
SECONDS_EACH=$((TOTAL_SECONDS / ${#targets[@]}))
if ((SECONDS_EACH < 1)); then SECONDS_EACH=1; fi
for target in "${targets[@]}"; do
  name=$(basename "$target")
  target=$(realpath "$target")
  work=$(mktemp -d)
  seeds=()
  for folder in "fuzz/corpus/$name" "$BUILD_DIR/fuzz/seeds/$name"; do
    if [ -d "$folder" ]; then seeds+=("$(realpath "$folder")"); fi
  done
  echo "-- $name for ${SECONDS_EACH} s"
  status=0
  (cd "$work" && "$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 \
     -print_final_stats=1 "$work" "${seeds[@]}") >"$work.log" 2>&1 || status=$?
  tail -n 15 "$work.log"
  rm -f "$work.log"
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    echo "$name found a fault (exit $status)"
    exit 1
  fi
done
