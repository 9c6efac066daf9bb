#!/usr/bin/env bash
# Writes the seed corpus under fuzz/corpus/ afresh: the host's own writers make the hyper file,
# document and set file seeds (fuzz_seeds), and the example sessions and OBJ file join the
# session and OBJ seeds. Needs a configured fuzzer build (see README.md), default build-fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
cmake --build "$build" --target fuzz_seeds
rm -rf fuzz/corpus
ASAN_OPTIONS=detect_leaks=0 "$build/bin/fuzz_seeds" fuzz/corpus
cp examples/*.session fuzz/corpus/session/
cp examples/*.obj fuzz/corpus/obj/
ls -R fuzz/corpus
