#!/usr/bin/env bash
# Builds everything and runs the host's main job: load both plug-ins and run the demo session.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build build
# The demo keeps its scene and set files here; each run starts from an empty folder.
rm -rf /tmp/standin-demo
exec build/bin/standin-host --quiet --plugins build/plugins examples/demo.session
