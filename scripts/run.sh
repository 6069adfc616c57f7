#!/usr/bin/env bash
# Installs what is needed, builds, writes the sample data set and opens the
# window on its archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
./build/src/cli/varnok-dat sample build/sample
exec ./build/src/app/varnok-dat-tool build/sample/KELPAR.dat
