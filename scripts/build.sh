#!/usr/bin/env bash
# Configures and builds the project into build/ (or the folder given as $1,
# with any further arguments passed to CMake).
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-build}"
shift || true
cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$folder" --parallel "$(nproc)"
