#!/usr/bin/env bash
# Usage: check_version.sh PROGRAM EXPECTED
# Runs PROGRAM --version and checks that it prints exactly EXPECTED, says
# nothing on standard error and succeeds.
set -uo pipefail
program=$1
expected=$2
err=$(mktemp)
trap 'rm -f "$err"' EXIT
out=$("$program" --version 2>"$err")
status=$?
if [ "$status" -ne 0 ]; then
    echo "check_version: $program --version exited with $status" >&2
    cat "$err" >&2
    exit 1
fi
if [ "$out" != "$expected" ]; then
    echo "check_version: $program --version printed '$out', expected '$expected'" >&2
    exit 1
fi
if [ -s "$err" ]; then
    echo "check_version: $program --version wrote to standard error:" >&2
    cat "$err" >&2
    exit 1
fi
echo "$program: $out"
