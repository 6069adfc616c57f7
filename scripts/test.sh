#!/usr/bin/env bash
# Installs what is needed, builds everything, and runs every test. Further
# arguments go to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh test
# Everything on, also in a build folder that scripts/run.sh configured for the window alone.
bash scripts/build.sh build -DVARNOK_BUILD_TESTS=ON -DVARNOK_BUILD_BENCH=ON "$@"
ctest --test-dir build --output-on-failure --parallel "$(nproc)" --timeout 300
