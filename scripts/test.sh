#!/usr/bin/env bash
# Sets up, builds and runs every test: the release build of the plug-ins and tests, then the tests
# again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs="$(nproc)"

cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DZENTAK_TESTS=ON
cmake --build build/release --parallel "$jobs"
ctest --test-dir build/release --output-on-failure --timeout 300

cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug -DZENTAK_SANITIZE=ON -DZENTAK_PLUGIN_FORMATS=OFF -DZENTAK_TESTS=ON
cmake --build build/asan --parallel "$jobs" --target zentak_tests
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure --timeout 600
