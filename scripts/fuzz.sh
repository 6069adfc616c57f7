#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each over its seed corpus for
# the given number of seconds (default 30). Fails when a target finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
seconds="${1:-30}"
CXX=clang++ bash scripts/build.sh build-fuzz -DVARNOK_BUILD_FUZZERS=ON -DVARNOK_BUILD_TESTS=OFF \
    -DVARNOK_BUILD_BENCH=OFF -DVARNOK_BUILD_GUI=OFF
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for target in build-fuzz/fuzz/fuzz_*; do
    name="$(basename "$target")"
    mkdir -p "$work/$name"
    cp "fuzz/corpus/${name#fuzz_}"/* "$work/$name/" 2>/dev/null || true
    echo "== $name for ${seconds}s"
    if ! (cd "$work" && "$root/$target" -max_total_time="$seconds" -max_len=4194304 -rss_limit_mb=2048 \
            -print_final_stats=1 "$work/$name" >"$work/$name.log" 2>&1); then
        tail -n 60 "$work/$name.log"
        status=1
    fi
    grep -E 'stat::number_of_executed_units' "$work/$name.log" || true
done
exit "$status"
