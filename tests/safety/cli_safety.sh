#!/usr/bin/env bash
# The running program, where in-process tests cannot reach: a full standard
# output, a file-size limit, another writer holding the lock, files named like
# the old scratch files, symbolic links, modes and hard links.
# usage: cli_safety.sh VARNOK_DAT WORK_FOLDER
set -u
tool=$(realpath "$1")
work=$(realpath -m "$2")
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 2
"$tool" sample . --items 6 >/dev/null 2>&1 || { echo "cannot make the sample"; exit 2; }
cp tank.s16 EXTRA.S16

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# expect STATUS "MESSAGE" COMMAND...: the exit status, and the message on standard error.
expect() {
    local status=$1 message=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    [ $got -eq "$status" ] || fail "$* exited $got, not $status"
    grep -qF -- "$message" "$work/err" || fail "$*: no \"$message\" in: $(head -c 300 "$work/err")"
}
same() { cmp -s "$1" "$2" || fail "$1 changed"; }

# A full standard output is a failure with a message.
for command in "list KELPAR.dat" "report KELPAR.dat" "icons tank.s16" "shp-info knight.shp"; do
    expect 1 "Error on writing [standard output]: No space left on device" \
        sh -c "exec \"$tool\" $command >/dev/full"
done

# Past a file-size limit the program reports the failed write instead of dying.
cp tank.s16 tank.orig
cp KELPAR.dat kelpar.orig
expect 1 "Error on writing [tank.s16]: File too large" \
    sh -c "ulimit -f 1; exec \"$tool\" insert-icon tank.s16 sheet3x3.bmp"
same tank.s16 tank.orig
expect 1 "Error on writing [KELPAR.dat]: File too large" \
    sh -c "ulimit -f 1; exec \"$tool\" add KELPAR.dat sheet3x3.bmp"
same KELPAR.dat kelpar.orig
expect 1 "Error on writing [big.s16]: File too large" \
    sh -c "ulimit -f 1; exec \"$tool\" make --list big.s16 sheet3x3.bmp"
[ -e big.s16 ] && fail "make left big.s16 behind under a file-size limit"

# Another writer holds the archive: the command waits, then gives up and changes nothing.
flock KELPAR.dat sleep 6 &
holder=$!
sleep 0.3
expect 1 "[KELPAR.dat] is being changed by another program" "$tool" add KELPAR.dat EXTRA.S16
kill $holder 2>/dev/null
wait $holder 2>/dev/null
same KELPAR.dat kelpar.orig

# Files named like the old fixed scratch files are never touched or followed.
echo mine >victim
for name in KELPAR_new.dat tank_new.s16 tank.s16.~new out_new.s16 out.s16.~new; do echo mine >"$name"; done
ln -s victim A_new.dat
cp KELPAR.dat A.dat
"$tool" add KELPAR.dat EXTRA.S16 >/dev/null 2>&1 || fail "add next to old scratch names"
"$tool" insert-icon tank.s16 soldier.bmp >/dev/null 2>&1 || fail "insert-icon next to old scratch names"
"$tool" make --list out.s16 soldier.bmp >/dev/null 2>&1 || fail "make next to old scratch names"
"$tool" remove A.dat EXTRA.S16 >/dev/null 2>&1
for name in KELPAR_new.dat tank_new.s16 tank.s16.~new out_new.s16 out.s16.~new victim; do
    [ "$(cat "$name")" = mine ] || fail "$name was touched"
done
[ -L A_new.dat ] || fail "the link A_new.dat was replaced"
[ -L A.dat ] && fail "A.dat became a link"

# Through a symbolic link the real archive is rewritten and the link stays;
# the mode stays; other hard links keep the old content and a message says so.
mkdir -p game
ln -s ../KELPAR.dat game/KELPAR.dat
chmod 640 KELPAR.dat
cp KELPAR.dat before.dat
ln KELPAR.dat other-name.dat
expect 0 "other hard link(s) keep the old content" "$tool" remove game/KELPAR.dat EXTRA.S16
[ -L game/KELPAR.dat ] || fail "the link game/KELPAR.dat was replaced by a file"
"$tool" list KELPAR.dat | grep -q EXTRA && fail "the real archive was not rewritten"
[ "$(stat -c %a KELPAR.dat)" = 640 ] || fail "mode 640 became $(stat -c %a KELPAR.dat)"
same other-name.dat before.dat

[ -z "$(find . -name '.*.tmp')" ] || fail "scratch files left behind: $(find . -name '.*.tmp')"
echo "$failures failures"
[ $failures -eq 0 ]
