#!/usr/bin/env bash
# Usage: install_check.sh BUILD PREFIX VERSION [WINDOW [MANPAGES]]
# Installs the build into PREFIX (emptied first) and runs the installed
# programs from there. With WINDOW=1 the window program and its desktop files
# are expected too, with MANPAGES=1 the manual pages.
set -euo pipefail
build=$1
prefix=$2
version=$3
window=${4:-0}
manpages=${5:-0}
here=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "install_check: $*" >&2
    exit 1
}

rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install $build failed"

for file in bin/varnok-dat share/doc/varnok-dat/README.md share/doc/varnok-dat/LICENSE; do
    [ -f "$prefix/$file" ] || fail "$prefix/$file was not installed"
done
[ -x "$prefix/bin/varnok-dat" ] || fail "$prefix/bin/varnok-dat is not executable"

bash "$here/check_version.sh" "$prefix/bin/varnok-dat" "varnok-dat $version"
if [ "$window" = 1 ]; then
    [ -x "$prefix/bin/varnok-dat-tool" ] || fail "$prefix/bin/varnok-dat-tool was not installed"
    bash "$here/check_version.sh" "$prefix/bin/varnok-dat-tool" "varnok-dat-tool $version"
fi

bash "$here/check_installed_files.sh" "$prefix" "$window" "$manpages"

# The installed program does real work from there, away from the build.
sample=$prefix/sample
(cd / && "$prefix/bin/varnok-dat" sample "$sample") || fail "$prefix/bin/varnok-dat sample $sample failed"
archives=0
while IFS= read -r -d '' archive; do
    "$prefix/bin/varnok-dat" list "$archive" >/dev/null || fail "$prefix/bin/varnok-dat list $archive failed"
    archives=$((archives + 1))
done < <(find "$sample" -name '*.dat' -print0)
[ "$archives" -gt 0 ] || fail "$prefix/bin/varnok-dat sample wrote no archive in $sample"
echo "install_check: installed into $prefix and ran from there"
