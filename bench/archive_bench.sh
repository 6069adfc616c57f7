#!/usr/bin/env bash
# Times varnok-dat on archives of 1,000 to 100,000 small items, and its batch
# commands, next to plain file tools on the same bytes, and prints each ratio
# (medians of a few runs, all measured side by side in this one run).
# Usage: bench/archive_bench.sh [BUILD_FOLDER] [WORK_FOLDER]
# Everything goes into WORK_FOLDER/archive-bench (about 1 GB and 150,000
# inodes), made afresh.
set -euo pipefail
build="${1:-build}"
tool="$(cd "$build" && pwd)/src/cli/varnok-dat"
work="${2:-$(mktemp -d)}/archive-bench"
runs="${RUNS:-5}"
big_runs="${BIG_RUNS:-3}"
sizes=(1000 2000 10000 100000)

rm -rf "$work"
mkdir -p "$work"
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "$(awk '/MemTotal/ { printf "%.0f GB", $2 / 1048576 }' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "work folder: $work ($(df -T "$work" | awk 'NR == 2 { print $2 " on " $1 }'))"

# Archives made directly (sorted names, S16 items of 200 to 600 bytes whose
# icon count is 1), and the loose files the rewrites and batches take.
/usr/bin/python3 - "$work" "${sizes[@]}" <<'PY'
import os, random, struct, sys
work, sizes = sys.argv[1], [int(s) for s in sys.argv[2:]]
rng = random.Random(7)
def item():
    return struct.pack('<i', 1) + rng.randbytes(rng.randrange(196, 596))
for n in sizes:
    names = [f"I{i:06d}.S16" for i in range(n)]
    data = [item() for _ in names]
    offset = 4 + 17 * (n + 1)
    head = bytearray(struct.pack('<i', n + 1))
    for name, d in zip(names, data):
        head += struct.pack('<I', offset) + name.encode().ljust(13, b'\0')
        offset += len(d)
    head += struct.pack('<I', offset) + b'\0' * 13
    with open(f"{work}/A{n}.dat", "wb") as f:
        f.write(head)
        for d in data:
            f.write(d)
os.makedirs(f"{work}/loose")
for i in range(10, 60):
    with open(f"{work}/loose/I{i:06d}.S16", "wb") as f:
        f.write(item())
# 2,000 bitmaps of 32 x 32 pixels, 24 bits.
os.makedirs(f"{work}/bmp")
row = 32 * 3
for i in range(2000):
    pixels = rng.randbytes(row * 32)
    head = b'BM' + struct.pack('<IHHI', 54 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, 32, 32, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(f"{work}/bmp/B{i:04d}.bmp", "wb") as f:
        f.write(head + info + pixels)
PY
"$tool" sample "$work/sample" --items 3 >/dev/null
mkdir -p "$work/shp"
for i in $(seq -w 1 500); do cp "$work/sample/knight.shp" "$work/shp/K$i.shp"; done

# Median wall and CPU time (user + system of the command and its children),
# in milliseconds, of $2 runs of a command ($3); $4, when given, runs untimed
# before each run. A command that fails stops the benchmark.
measure() {
    /usr/bin/python3 - "$@" <<'PY'
import resource, statistics, subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2]
setup = sys.argv[3] if len(sys.argv) > 3 else ""
walls, cpus = [], []
for _ in range(runs):
    if setup:
        subprocess.run(setup, shell=True, check=True, stdout=subprocess.DEVNULL)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run(command, shell=True, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode != 0:
        sys.exit(f"failed ({done.returncode}): {command[:200]}\n{done.stderr.decode()[:500]}")
    walls.append(wall * 1000)
    cpus.append((after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime) * 1000)
print(f"{statistics.median(walls):.0f} {statistics.median(cpus):.0f}")
PY
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# name, our command, reference name, reference command, goal, set-up, runs
row() {
    local ours ref
    ours=$(measure "${7:-$runs}" "$2" "${6:-}" | cut -d' ' -f1)
    ref=$(measure "${7:-$runs}" "$4" "${6:-}" | cut -d' ' -f1)
    printf "| %-34s | %8s ms | %-26s | %8s ms | %6s | %-7s |\n" "$1" "$ours" "$3" "$ref" \
        "$(ratio "$ours" "$ref")" "$5"
}

# name, command, goal, set-up: wall time against the CPU time it took.
cpu_row() {
    local wall cpu
    read -r wall cpu < <(measure "$big_runs" "$2" "${4:-}")
    printf "| %-34s | %8s ms | %-26s | %8s ms | %6s | %-7s |\n" "$1" "$wall" "its CPU time" "$cpu" \
        "$(ratio "$wall" "$cpu")" "$3"
}

fresh() {  # the set-up of a rewrite of archive $1: a fresh copy on disk, no backup
    echo "cp '$work/A$1.dat' '$work/fresh.dat' && rm -f '$work/fresh_back.dat' && sync"
}
copy_flush="cp '$work/fresh.dat' '$work/copy.dat' && sync '$work/copy.dat'"
names50=$(cd "$work/loose" && echo I0000{1..5}?.S16)

echo
echo "| operation                          |      ours   | reference                  |      ref    |  ratio | goal    |"
echo "|------------------------------------|-------------|----------------------------|-------------|--------|---------|"
for n in "${sizes[@]}"; do
    row "list $n" "'$tool' list '$work/A$n.dat'" "cat ARCHIVE >/dev/null" \
        "cat '$work/A$n.dat' >/dev/null" "<= 1.0"
done
for n in 2000 10000 100000; do
    row "replace 1 of $n" "'$tool' replace --force '$work/fresh.dat' '$work/loose/I000010.S16'" \
        "cp + sync" "$copy_flush" "<= 1.2" "$(fresh "$n")"
    row "remove 1 of $n" "'$tool' remove '$work/fresh.dat' I000010.S16" "cp + sync" \
        "$copy_flush" "<= 1.2" "$(fresh "$n")"
done
for n in 10000 100000; do
    row "remove 50 of $n" "'$tool' remove '$work/fresh.dat' $names50" "remove 1" \
        "'$tool' remove '$work/fresh.dat' I000010.S16" "<= 1.2" "$(fresh "$n")"
    row "replace 50 of $n" "cd '$work/loose' && '$tool' replace --force '$work/fresh.dat' $names50" \
        "replace 1" "'$tool' replace --force '$work/fresh.dat' '$work/loose/I000010.S16'" "<= 1.2" \
        "$(fresh "$n")"
done
picked=$(seq -f "I%06g.S16" 0 20 99999 | tr '\n' ' ')
row "extract 5,000 of 100000" "'$tool' extract '$work/A100000.dat' $picked -o '$work/out'" \
    "unpack all 100,000" "'$tool' unpack '$work/A100000.dat' '$work/out'" "<= 0.3" \
    "rm -rf '$work/out' && sync" "$big_runs"
cpu_row "make --cloned 2,000 bitmaps" "'$tool' make --cloned '$work'/bmp/*.bmp" "<= 1.5" \
    "rm -f '$work'/bmp/*.s16 && sync"
cpu_row "from-shp 500 files" "'$tool' from-shp '$work'/shp/*.shp -o '$work/shpout'" "<= 1.5" \
    "rm -rf '$work/shpout' && sync"
