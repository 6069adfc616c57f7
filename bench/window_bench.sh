#!/usr/bin/env bash
# Times the window under Xvfb: from starting `varnok-dat-tool ARCHIVE` with a
# 100,000-item archive to its item list and the first collage on screen, next
# to the same window on the 24-item sample (what starting the window costs
# at all) and to `varnok-dat list` of the big archive (reading its directory).
# The program prints when its first paint of the picture is done and quits
# (VARNOK_EXIT_AFTER_FIRST_PAINT, see src/app/main.cpp).
# Usage: bench/window_bench.sh [BUILD_FOLDER] [WORK_FOLDER]
# A WORK_FOLDER kept from an earlier run keeps its archives (about 560 MB).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
window="$build/src/app/varnok-dat-tool"
cli="$build/src/cli/varnok-dat"
work="${2:-$(mktemp -d)}"
items=100000
runs=7
goal_ms=300

for n in 24 "$items"; do
    if [ ! -f "$work/s$n/KELPAR.dat" ]; then
        echo "generating a $n-item archive in $work/s$n"
        "$cli" sample "$work/s$n" --items "$n" >/dev/null
    fi
done

# A display of our own, and settings that leave the user's alone.
display=""
for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || { echo "window_bench: no free X display number" >&2; exit 1; }
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Milliseconds from starting the window on archive $1 to its first painted picture.
first_paint_ms() {
    local start line
    start=$(date +%s.%N)
    line=$(VARNOK_EXIT_AFTER_FIRST_PAINT=1 "$window" "$1" 2>/dev/null | grep '^first paint at ')
    [ -n "$line" ] || { echo "window_bench: no first paint for $1" >&2; exit 1; }
    awk -v s="$start" -v e="${line#first paint at }" 'BEGIN { printf "%d\n", (e - s) * 1000 }'
}

# Median of $runs runs (after one untimed run that warms the file cache).
median_ms() {
    "$@" >/dev/null
    for _ in $(seq "$runs"); do "$@"; done | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

list_ms() {
    local start end
    start=$(date +%s%N)
    "$cli" list "$1" >/dev/null
    end=$(date +%s%N)
    echo $(( (end - start) / 1000000 ))
}

small=$(median_ms first_paint_ms "$work/s24/KELPAR.dat")
big=$(median_ms first_paint_ms "$work/s$items/KELPAR.dat")
listing=$(median_ms list_ms "$work/s$items/KELPAR.dat")
echo "medians of $runs runs, ms (Xvfb, $(nproc) cores)"
printf '%-52s %6d\n' "window, 24 items: list and first collage" "$small"
printf '%-52s %6d\n' "window, $items items: list and first collage" "$big"
printf '%-52s %6d\n' "varnok-dat list, $items items" "$listing"
verdict=$([ "$big" -lt "$goal_ms" ] && echo met || echo missed)
printf 'window at %d items: %.3f s against the goal of < 0.3 s: %s\n' "$items" \
    "$(awk -v v="$big" 'BEGIN { print v / 1000 }')" "$verdict"
