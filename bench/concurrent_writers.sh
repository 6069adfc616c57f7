#!/usr/bin/env bash
# Two writers at once: runs two `varnok-dat add` on one archive at the same
# moment, round after round, and checks after every round that
#   - the archive is valid: it lists, and every item unpacks byte-identical to
#     what was put in (the old items and the added ones);
#   - every add that exited 0 is in the archive, every refused one is absent,
#     and a refusal said why ("is being changed by another program").
# usage: bench/concurrent_writers.sh VARNOK_DAT [ROUNDS] [WORK_FOLDER]
set -u
tool=$(realpath "$1")
rounds=${2:-200}
work=$(realpath -m "${3:-$(mktemp -d)}")

rm -rf "$work" && mkdir -p "$work"
pristine=$work/pristine
# Enough items that a rewrite takes a while and the two writers overlap.
"$tool" sample "$pristine" --items 300 >/dev/null 2>&1 || { echo "cannot make the sample"; exit 2; }
cp "$pristine/tank.s16" "$pristine/ONE.S16"
cp "$pristine/panel.s16" "$pristine/TWO.S16"
"$tool" unpack "$pristine/KELPAR.dat" "$work/expected" >/dev/null 2>&1 || { echo "cannot unpack"; exit 2; }

# The file names of an unpacked folder with their checksums.
contents() { (cd "$1" && find . -type f -print0 | sort -z | xargs -0 md5sum); }

failures=0
both=0
refused=0
for ((round = 1; round <= rounds; round++)); do
    dir=$work/round
    rm -rf "$dir" && mkdir -p "$dir"
    cp "$pristine/KELPAR.dat" "$pristine/ONE.S16" "$pristine/TWO.S16" "$dir/"
    (cd "$dir" && exec "$tool" add KELPAR.dat ONE.S16 >/dev/null 2>"$dir/one.err") &
    first=$!
    (cd "$dir" && exec "$tool" add KELPAR.dat TWO.S16 >/dev/null 2>"$dir/two.err") &
    second=$!
    wait $first; one=$?
    wait $second; two=$?

    rm -rf "$work/expect" && cp -a "$work/expected" "$work/expect"
    verdict=""
    for pair in "ONE:$one" "TWO:$two"; do
        name=${pair%%:*}
        status=${pair#*:}
        err=$dir/$(echo "$name" | tr 'A-Z' 'a-z').err
        if [ "$status" -eq 0 ]; then
            cp "$pristine/$name.S16" "$work/expect/$name.S16"
        elif [ "$status" -ne 1 ]; then
            verdict="$verdict $name exited $status;"
        elif ! grep -q "is being changed by another program" "$err"; then
            verdict="$verdict $name refused with: $(head -c 200 "$err");"
        fi
    done
    [ $one -eq 0 ] && [ $two -eq 0 ] && both=$((both + 1))
    [ $one -ne 0 ] || [ $two -ne 0 ] && refused=$((refused + 1))
    rm -rf "$work/got"
    if ! "$tool" unpack "$dir/KELPAR.dat" "$work/got" >/dev/null 2>&1; then
        verdict="$verdict the archive does not unpack;"
    elif [ "$(contents "$work/got")" != "$(contents "$work/expect")" ]; then
        verdict="$verdict the archive does not hold exactly the old items and the accepted ones;"
    fi
    if [ -n "$(find "$dir" -name '.*' -type f)" ]; then
        verdict="$verdict a scratch file was left behind;"
    fi
    if [ -n "$verdict" ]; then
        failures=$((failures + 1))
        echo "round $round (exits $one and $two):$verdict"
    fi
done
echo "$rounds rounds: both added in $both, one refused in $refused, $failures wrong"
[ $failures -eq 0 ]
