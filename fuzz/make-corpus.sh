#!/usr/bin/env bash
# Writes the seed corpus under fuzz/corpus/: the host's own writers make the hyper file, document
# and set file seeds, and the mesh and dialog seeds are written out (fuzz_seeds, make_seeds.cpp);
# the example sessions and OBJ file and the plug-ins' dialog resources join them. Seeds of the
# same name are replaced; every other entry (inputs a fuzzer found and someone committed) stays.
# Needs a configured fuzzer build (see README.md), default build-fuzz.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
cmake --build "$build" --target fuzz_seeds
mkdir -p fuzz/corpus
ASAN_OPTIONS=detect_leaks=0 "$build/bin/fuzz_seeds" fuzz/corpus
cp examples/*.session fuzz/corpus/session/
cp examples/*.obj fuzz/corpus/obj/
cp tarnwick/res/dialogs/*.dlg fuzz/corpus/dialog_resource/
for d in fuzz/corpus/*/; do
  echo "$(basename "$d"): $(find "$d" -type f | wc -l) entries"
done
