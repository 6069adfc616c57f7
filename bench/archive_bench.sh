#!/usr/bin/env bash
# Times the archive operations of varnok-dat on a generated archive of about
# 200 MB (2,000 S16 files) next to plain file tools on the same bytes, and
# prints each ratio. Usage: bench/archive_bench.sh [BUILD_FOLDER] [WORK_FOLDER]
set -euo pipefail
build="${1:-build}"
tool="$(cd "$build" && pwd)/src/cli/varnok-dat"
work="${2:-$(mktemp -d)}"
files=2000
size=$((100 * 1024))
runs=5

mkdir -p "$work/items" "$work/small" "$work/unpacked" "$work/untarred"
echo "generating $files files of $size bytes in $work"
/usr/bin/python3 - "$work" "$files" "$size" <<'PY'
import os, struct, sys
work, files, size = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
for i in range(files):
    head = struct.pack('<i', 1) + struct.pack('<10i', 40, 40, 0, 0, 40, 40, 0, size - 44, 0, 0)
    with open(f"{work}/items/I{i:05d}.S16", "wb") as f:
        f.write(head + os.urandom(size - len(head)))
for i in range(10000):
    with open(f"{work}/small/S{i:05d}.S16", "wb") as f:
        f.write(struct.pack('<i', 0))
PY
"$tool" repack "$work/small/TENK.dat" >/dev/null
(cd "$work/items" && tar -cf "$work/items.tar" ./*.S16)

# Best wall time of $runs runs of a command ($1), in milliseconds; $2, when
# given, runs untimed before each run.
best() {
    local best_ms=""
    for _ in $(seq "$runs"); do
        local start end ms
        [ -n "${2:-}" ] && eval "$2" >/dev/null 2>&1
        start=$(date +%s%N)
        eval "$1" >/dev/null 2>&1
        end=$(date +%s%N)
        ms=$(( (end - start) / 1000000 ))
        if [ -z "$best_ms" ] || [ "$ms" -lt "$best_ms" ]; then best_ms=$ms; fi
    done
    echo "$best_ms"
}

row() {  # name, our command, reference name, reference command, set-up before each run
    local ours ref
    ours=$(best "$2" "${5:-}")
    ref=$(best "$4" "${5:-}")
    printf "%-22s %8d ms   %-24s %8d ms   ratio %5.2f\n" "$1" "$ours" "$3" "$ref" \
        "$(awk -v a="$ours" -v b="$ref" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }')"
}

archive="$work/items/BIG.dat"
"$tool" repack "$archive" >/dev/null
ls -l "$archive" | awk '{ printf "archive: %d bytes\n", $5 }'
for i in $(seq 50); do cp "$work/items/I$(printf %05d "$i").S16" "$work/A$(printf %05d "$i").S16"; done
cp "$work/items/I00007.S16" "$work/I00007.S16"

printf "%-22s %11s   %-24s %11s\n" operation time reference time
row "open + list 2,000" "'$tool' list '$archive'" "cat directory (dd 40 KB)" "dd if='$archive' of=/dev/null bs=40k count=1"
row "open + list 10,000" "'$tool' list '$work/small/TENK.dat'" "wc -c of the archive" "wc -c '$work/small/TENK.dat'"
fresh="cp '$archive' '$work/fresh.dat' && rm -f '$work/fresh_back.dat' && sync"
copy_flush="cp '$work/fresh.dat' '$work/copy.dat' && sync '$work/copy.dat'"
row "replace one item" "'$tool' replace '$work/fresh.dat' '$work/I00007.S16'" "cp + sync" "$copy_flush" "$fresh"
row "add 50 files" "'$tool' add '$work/fresh.dat' '$work'/A000*.S16" "cp + sync" "$copy_flush" "$fresh"
row "remove one item" "'$tool' remove '$work/fresh.dat' I00007.S16" "cp + sync" "$copy_flush" "$fresh"
row "repack 2,000 files" "'$tool' repack '$archive'" "cat files + sync" \
    "cat '$work'/items/*.S16 > '$work/cat.out' && sync '$work/cat.out'"
row "unpack 2,000 items" "'$tool' unpack '$archive' '$work/unpacked'" "tar -x of the same" \
    "tar -xf '$work/items.tar' -C '$work/untarred'" "rm -rf '$work/unpacked' '$work/untarred' && mkdir '$work/untarred'"
