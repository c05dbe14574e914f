#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time, starting from its
# seed corpus (fuzz/corpus/<target>/), and fails on any finding.
# usage: scripts/fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${1:?build folder}
SECONDS_EACH=${2:-60}

shopt -s nullglob
targets=("$BUILD_DIR"/fuzz/*_fuzzer)
if ((${#targets[@]} == 0)); then
  echo "no fuzz targets built"
  exit 0
fi
for target in "${targets[@]}"; do
  name=$(basename "$target")
  work=$(mktemp -d)
  seeds=()
  if [ -d "fuzz/corpus/$name" ]; then seeds+=("fuzz/corpus/$name"); fi
  echo "-- $name for ${SECONDS_EACH} s"
  status=0
  (cd "$work" && "$OLDPWD/$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 \
     -print_final_stats=1 "$work" "${seeds[@]/#/$OLDPWD/}") >"$work.log" 2>&1 || status=$?
  tail -n 15 "$work.log"
  rm -f "$work.log"
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    echo "$name found a fault (exit $status)"
    exit 1
  fi
done
