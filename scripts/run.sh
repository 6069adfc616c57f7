#!/usr/bin/env bash
# Installs what is needed, builds, writes the sample archive and shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh build
./build/src/cli/varnok-dat --help
