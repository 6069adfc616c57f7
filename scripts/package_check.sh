#!/usr/bin/env bash
# Usage: package_check.sh BUILD
# Builds the Debian package in the build folder BUILD (cpack) and checks it
# without installing it on this machine: its dependencies and file list, then
# the programs extracted into a scratch root.
set -euo pipefail
build=$(cd "$1" && pwd)

fail() {
    echo "package_check: $*" >&2
    exit 1
}

rm -f "$build"/varnok-dat_*.deb
(cd "$build" && cpack -G DEB >/dev/null) || fail "cpack -G DEB failed in $build"
packages=("$build"/varnok-dat_*.deb)
[ -f "${packages[0]}" ] || fail "cpack wrote no varnok-dat_*.deb in $build"
[ ${#packages[@]} -eq 1 ] || fail "more than one package in $build: ${packages[*]}"
package=${packages[0]}

info=$(dpkg-deb -I "$package") || fail "dpkg-deb -I $package failed"
depends=$(dpkg-deb -f "$package" Depends)
version=$(dpkg-deb -f "$package" Version)
for needed in libc6 libqt6widgets6; do
    # A name in the list is followed by a space, a comma or the end.
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "$package does not depend on $needed: $depends"
done
grep -q "^ Package: varnok-dat$" <<<"$info" || fail "$package is not named varnok-dat"

contents=$(dpkg-deb -c "$package") || fail "dpkg-deb -c $package failed"
for file in ./usr/bin/varnok-dat ./usr/bin/varnok-dat-tool ./usr/share/doc/varnok-dat/LICENSE; do
    grep -q " $file$" <<<"$contents" || fail "$package does not hold $file"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root" || fail "dpkg-deb -x $package failed"
here=$(cd "$(dirname "$0")/.." && pwd)
bash "$here/tests/install/check_version.sh" "$root/usr/bin/varnok-dat" "varnok-dat $version"
QT_QPA_PLATFORM=offscreen bash "$here/tests/install/check_version.sh" "$root/usr/bin/varnok-dat-tool" \
    "varnok-dat-tool $version"
echo "package_check: $package is sound (Depends: $depends)"
