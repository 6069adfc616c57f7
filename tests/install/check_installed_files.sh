#!/usr/bin/env bash
# Usage: check_installed_files.sh PREFIX WINDOW MANPAGES
# Checks what an installation under PREFIX (a cmake --install prefix, or usr/
# of an unpacked package) gives the desktop and the shell: the completion
# (working with the installed program), the manual pages with MANPAGES=1, and
# with WINDOW=1 the desktop entry, the icon in every size and the file types.
set -euo pipefail
prefix=$1
window=$2
manpages=$3
here=$(cd "$(dirname "$0")" && pwd)

fail() {
    echo "check_installed_files: $*" >&2
    exit 1
}

share=$prefix/share
bash "$here/check_completion.sh" "$share/bash-completion/completions/varnok-dat" "$prefix/bin/varnok-dat" >/dev/null

if [ "$manpages" = 1 ]; then
    pages=(varnok-dat)
    [ "$window" = 1 ] && pages+=(varnok-dat-tool)
    for program in "${pages[@]}"; do
        page=$share/man/man1/$program.1
        [ -f "$page" ] || fail "$page was not installed"
        title=$(tr '[:lower:]' '[:upper:]' <<<"$program")
        grep -q "^\.TH \"\?$title\"\? \"\?1\"\?" "$page" || fail "$page is not the section 1 page of $program"
        grep -q '^\.SH OPTIONS' "$page" || fail "$page has no OPTIONS from $program --help"
    done
    # Each command with its synopsis, from the program's own command tree (roff
    # escapes the minus signs).
    while read -r command; do
        grep -qF ".SS \"${command//-/\\-} " "$share/man/man1/varnok-dat.1" ||
            fail "$share/man/man1/varnok-dat.1 does not describe the command $command"
    done < <("$prefix/bin/varnok-dat" --help | sed -n '/^Subcommands:/,$p' | awk 'NR > 1 && $1 != "" {print $1}')
fi

if [ "$window" = 1 ]; then
    desktop=$share/applications/varnok-dat-tool.desktop
    [ -f "$desktop" ] || fail "$desktop was not installed"
    desktop-file-validate "$desktop" || fail "$desktop does not validate"
    grep -qx 'Icon=varnok-dat-tool' "$desktop" || fail "$desktop names another icon"
    [ -f "$share/mime/packages/varnok-dat.xml" ] || fail "$share/mime/packages/varnok-dat.xml was not installed"
    [ -f "$share/icons/hicolor/scalable/apps/varnok-dat-tool.svg" ] ||
        fail "$share/icons/hicolor/scalable/apps/varnok-dat-tool.svg was not installed"
    for size in 16 22 24 32 48 64 128 256; do
        png=$share/icons/hicolor/${size}x${size}/apps/varnok-dat-tool.png
        [ -f "$png" ] || fail "$png was not installed"
        # The PNG signature, then the width and height of the IHDR chunk.
        [ "$(od -An -tx1 -N8 "$png" | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is not a PNG file"
        read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
            awk '{print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8}')
        [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height, not $size x $size"
    done
fi
echo "check_installed_files: completion, manual pages and desktop files under $prefix are sound"
