#!/usr/bin/env bash
# Installs what the window needs, builds the two programs (no tests, no
# benchmarks), writes the sample data set and opens the window on its archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOK_BUILD_TESTS=OFF \
    -DVARNOK_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target varnok-dat-tool varnok-dat
./build/src/cli/varnok-dat sample build/sample
exec ./build/src/app/varnok-dat-tool build/sample/KELPAR.dat
