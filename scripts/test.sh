#!/usr/bin/env bash
# Sets everything up and runs every test: the unit and end-to-end tests of
# the normal build, the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short libFuzzer run of the map loader,
# the Ogg decoder, the demo reader and the Tiled importer (FUZZ_SECONDS in all,
# shared between them).
set -euo pipefail
cd "$(dirname "$0")/.."

JOBS=$(nproc)
FUZZ_SECONDS=${FUZZ_SECONDS:-60}

scripts/setup.sh

echo "== tests of the normal build"
(cd build && ctest --output-on-failure -j"$JOBS")

echo "== sanitizer build (ASan + UBSan)"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DGLIM_SANITIZE=ON -DGLIM_BENCH=OFF >/dev/null
cmake --build build-asan -j"$JOBS"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$JOBS" -L unit)

echo "== fuzzing the map loader, the Ogg decoder, the demo reader and the Tiled importer for ${FUZZ_SECONDS} s in all"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGLIM_FUZZ=ON -DGLIM_SANITIZE=ON -DGLIM_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$JOBS" --target fuzz_all
scripts/fuzz.sh build-fuzz "$FUZZ_SECONDS"

echo "== every test passed"
