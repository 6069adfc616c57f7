#!/usr/bin/env bash
# Usage: package_check.sh BUILD
# Builds the Debian package in the build folder BUILD (cpack) and checks it
# without installing it on this machine: its dependencies (every library the
# programs load is covered, and apt can install it on a machine holding
# nothing yet), its file list, then the programs, manual pages, completion
# and desktop files extracted into a scratch root, and the programs at work there.
set -euo pipefail
# A command that fails where no check expected it still says where.
trap 'echo "package_check: line $LINENO failed (exit $?)" >&2' ERR
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)

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
grep -q "^ Package: varnok-dat$" <<<"$info" || fail "$package is not named varnok-dat"
# depends_on NAME: NAME is one of the packages in Depends (with or without a version).
depends_on() {
    sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends" | grep -xF -- "$1" >/dev/null
}
for needed in libc6 libstdc++6 libqt6widgets6; do
    depends_on "$needed" || fail "$package does not depend on $needed: $depends"
done

contents=$(dpkg-deb -c "$package") || fail "dpkg-deb -c $package failed"
files=(./usr/bin/varnok-dat ./usr/bin/varnok-dat-tool ./usr/share/doc/varnok-dat/LICENSE
    ./usr/share/man/man1/varnok-dat.1 ./usr/share/man/man1/varnok-dat-tool.1
    ./usr/share/bash-completion/completions/varnok-dat
    ./usr/share/applications/varnok-dat-tool.desktop ./usr/share/mime/packages/varnok-dat.xml
    ./usr/share/icons/hicolor/scalable/apps/varnok-dat-tool.svg)
for size in 16 22 24 32 48 64 128 256; do
    files+=("./usr/share/icons/hicolor/${size}x${size}/apps/varnok-dat-tool.png")
done
for file in "${files[@]}"; do
    grep -q " $file$" <<<"$contents" || fail "$package does not hold $file"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$package" "$root" || fail "dpkg-deb -x $package failed"

# Every library the programs load comes from a package the package depends on.
for program in varnok-dat varnok-dat-tool; do
    while read -r library; do
        path=$(ldconfig -p | awk -v name="$library" '$1 == name && /x86-64|x86_64/ && !found {print $NF; found = 1}')
        [ -n "$path" ] || path=$(ldconfig -p | awk -v name="$library" '$1 == name && !found {print $NF; found = 1}')
        [ -n "$path" ] || fail "$program needs $library, which this machine does not have"
        # dpkg knows a library by the path its package ships, which the merged
        # /usr may hide behind a link: try the link, its target and the target
        # without /usr.
        real=$(readlink -f "$path")
        owner=""
        for candidate in "$path" "$real" "${real#/usr}"; do
            owner=$(dpkg -S "$candidate" 2>/dev/null | sed -n '1s/:.*//p') && break
        done
        [ -n "$owner" ] || fail "no package holds $path, which $program needs"
        depends_on "$owner" || fail "$program needs $library from $owner, which $package does not depend on: $depends"
    done < <(objdump -p "$root/usr/bin/$program" | awk '$1 == "NEEDED" {print $2}')
done

# Qt loads the window's platform plugin at run time, where dpkg-shlibdeps
# cannot see: the package that ships the X11 one must be among the dependencies.
xcb=$(dpkg -S '*/qt6/plugins/platforms/libqxcb.so' 2>/dev/null | sed -n '1s/:.*//p') ||
    fail "no package on this machine holds Qt's X11 platform plugin (libqxcb.so)"
depends_on "$xcb" || fail "$package does not depend on $xcb, which holds Qt's X11 platform plugin: $depends"
svg=$(dpkg -S '*/qt6/plugins/iconengines/libqsvgicon.so' 2>/dev/null | sed -n '1s/:.*//p') ||
    fail "no package on this machine holds Qt's SVG icon engine (libqsvgicon.so)"
depends_on "$svg" || fail "$package does not depend on $svg, which draws the toolbar's SVG icons: $depends"

# What apt would install for the package on a machine with nothing installed
# yet, without recommended packages: the dependencies alone must bring Qt
# and its X11 platform plugin from the distribution.
if compgen -G '/var/lib/apt/lists/*_Packages*' >/dev/null; then
    empty=$root/empty-status
    : >"$empty"
    plan=$(apt-get -s -o Dir::State::status="$empty" --no-install-recommends install "$package" 2>&1) ||
        fail "apt cannot install $package on an empty machine: $(tail -n 5 <<<"$plan")"
    for needed in varnok-dat libqt6widgets6 "$xcb"; do
        grep -q "^Inst $needed " <<<"$plan" || fail "apt on an empty machine would not install $needed with $package"
    done
    echo "package_check: apt installs $package with $(grep -c '^Inst ' <<<"$plan") packages on an empty machine"
else
    echo "package_check: no apt package lists (apt-get update), so the install on an empty machine was not tried"
fi

usr=$root/usr
bash "$here/tests/install/check_version.sh" "$usr/bin/varnok-dat" "varnok-dat $version"
QT_QPA_PLATFORM=offscreen bash "$here/tests/install/check_version.sh" "$usr/bin/varnok-dat-tool" \
    "varnok-dat-tool $version"
bash "$here/tests/install/check_installed_files.sh" "$usr" 1 1

# The extracted programs at work: the command line writes the sample set, the
# window opens its archive and draws it.
(cd / && "$usr/bin/varnok-dat" sample "$root/sample" >/dev/null) || fail "$usr/bin/varnok-dat sample failed"
"$usr/bin/varnok-dat" list "$root/sample/KELPAR.dat" >/dev/null || fail "$usr/bin/varnok-dat list failed"
painted=$(cd / && HOME="$root" XDG_CONFIG_HOME="$root/config" QT_QPA_PLATFORM=offscreen \
    VARNOK_EXIT_AFTER_FIRST_PAINT=1 timeout 120 "$usr/bin/varnok-dat-tool" "$root/sample/KELPAR.dat" 2>/dev/null) ||
    fail "$usr/bin/varnok-dat-tool did not open $root/sample/KELPAR.dat"
grep -q "^first paint at " <<<"$painted" || fail "$usr/bin/varnok-dat-tool drew no picture of $root/sample/KELPAR.dat"
echo "package_check: $package is sound (Depends: $depends)"
