#!/usr/bin/env bash
# Builds and runs every test: the host's tests under ThreadSanitizer first, then everything with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

# The host's shared state (allocator table, registries, links) is used from worker threads, so its
# tests run under ThreadSanitizer as well.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWITH_TSAN=ON
cmake --build build-tsan -j "$jobs" --target host_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/host_tests --gtest_brief=1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWITH_SANITIZERS=ON
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"
