#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for
# QN_FUZZ_SECONDS (default 60) from its committed seeds in fuzz/corpus/<target>/.
# A crash, a leak, undefined behaviour, an input slower than 10 s or a single
# allocation above 256 MB fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${QN_FUZZ_BUILD_DIR:-build-fuzz}
SECONDS_EACH=${QN_FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -G Ninja -DQN_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=()
for source in fuzz/*Fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
cmake --build "$BUILD_DIR" -j "${QN_JOBS:-$(nproc)}" --target "${targets[@]}"

for target in "${targets[@]}"; do
  echo "== fuzzing $target for ${SECONDS_EACH}s =="
  # New inputs go to the build folder; the committed seeds stay as they are.
  work="$BUILD_DIR/corpus/$target"
  mkdir -p "$work" "fuzz/corpus/$target"
  "$BUILD_DIR/fuzz/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -malloc_limit_mb=256 \
    -artifact_prefix="$BUILD_DIR/" -print_final_stats=1 "$work" "fuzz/corpus/$target"
done
