#!/usr/bin/env bash
# Checks the code's form: every tracked C++ source formatted as .clang-format
# says, and the core libraries clean under the .clang-tidy checks. Needs a
# configured build folder (for compile_commands.json), by default build/.
set -euo pipefail
cd "$(dirname "$0")/.."
folder="${1:-build}"

echo "== clang-format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

echo "== clang-tidy (core)"
git ls-files 'src/support/*.cpp' 'src/bitmap/*.cpp' 'src/sprite/*.cpp' 'src/archive/*.cpp' \
    'src/shp/*.cpp' | xargs -P "$(nproc)" -n 8 clang-tidy -p "$folder" --quiet \
    2> >(grep -v ' warnings generated\.$' >&2)
