#!/usr/bin/env bash
# Builds the test configuration (AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test headless.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh
build=build/test
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DSTRUMBO_SANITIZE=ON -DSTRUMBO_BUILD_TESTS=ON -DSTRUMBO_BUILD_BENCHMARKS=ON
fi
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 "$@"
