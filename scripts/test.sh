#!/usr/bin/env bash
# Builds and runs every test: the host's tests under ThreadSanitizer first, then everything with
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

# The host's shared state (allocator table, registries, links) is used from worker threads, so its
# tests run under ThreadSanitizer as well.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWITH_TSAN=ON
cmake --build build-tsan -j "$jobs" --target host_tests loomcast_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/host_tests --gtest_brief=1
# The stroke tool's projection post-pass runs worker threads over one mesh.
TSAN_OPTIONS=halt_on_error=1 build-tsan/bin/loomcast_tests --gtest_brief=1 --gtest_filter='Projection*:BuildProjection*'

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWITH_SANITIZERS=ON
cmake --build build-test -j "$jobs"
ctest --test-dir build-test --output-on-failure -j "$jobs"

# Short fuzzing runs of every reader of outside data (fuzz/README.md). They need clang 14 or later
# with libFuzzer; without one they are skipped, and the script says so.
fuzz_cxx=
for c in clang++-19 clang++-18 clang++-17 clang++-16 clang++-15 clang++-14 clang++; do
  command -v "$c" >/dev/null || continue
  [ "$("$c" -dumpversion | cut -d. -f1)" -ge 14 ] || continue
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' |
    "$c" -x c++ -fsanitize=fuzzer,address - -o build-test/fuzz-probe 2>/dev/null || continue
  fuzz_cxx=$c
  break
done
rm -f build-test/fuzz-probe
if [ -z "$fuzz_cxx" ]; then
  echo "fuzzing skipped: no clang++ 14 or later with libFuzzer (apt-get install clang)"
else
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER="$fuzz_cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DWITH_FUZZERS=ON -DBUILD_TESTING=OFF
  cmake --build build-fuzz -j "$jobs" --target fuzzers
  # A fixed number of inputs from a fixed seed keeps CI's short runs alike however busy the
  # machine is; FUZZ_SECONDS runs each target for that long instead (from FUZZ_SEED when set).
  bash fuzz/run.sh build-fuzz "${FUZZ_SECONDS:-ci}"
fi
