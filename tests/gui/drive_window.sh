#!/usr/bin/env bash
# Starts the window program under Xvfb on a sample archive, drives the sprite
# sheet, the animation, a drag out of the item list, undo and a long unpack
# with xdotool, and saves screenshots at 800 x 600, 1280 x 1024 and at 200 %.
#
#   tests/gui/drive_window.sh [BUILD_DIR] [OUT_DIR]
#
# With SKIP_BIG=1 the 100,000-item archive (half a gigabyte, made first) is left out.
#
# Needs Xvfb, xdotool and ImageMagick's import. Uses X displays :81 to :84.
set -euo pipefail

build=$(realpath "${1:-build}")
out=$(realpath -m "${2:-screenshots}")
tool="$build/src/app/varnok-dat-tool"
cli="$build/src/cli/varnok-dat"
mkdir -p "$out"
work=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$cli" sample "$work/sample" --items 24 >/dev/null
# The big archive is made meanwhile; it is needed last.
big=
if [ -z "${SKIP_BIG:-}" ]; then
    "$cli" sample "$work/big" --items 100000 >/dev/null &
    big=$!
fi

shot() {  # NAME
    sleep 0.6
    import -display "$DISPLAY" -window root "$out/$1.png"
    echo "saved $out/$1.png"
}

key() { xdotool key --clearmodifiers "$@"; sleep 0.4; }

# Without a window manager a new window does not get the keyboard: it is given it.
focus() {  # WINDOW_NAME
    local window
    window=$(xdotool search --sync --onlyvisible --name "$1" | tail -1)
    sleep 0.5
    xdotool windowfocus --sync "$window"
    sleep 0.3
}

# DISPLAY_NUMBER WIDTH HEIGHT SCALE PREFIX
run() {
    local display=$1 width=$2 height=$3 scale=$4 prefix=$5
    export DISPLAY=":$display"
    Xvfb "$DISPLAY" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

    # Settings, the temporary folder (where dragged items go) and the copy of
    # the sample belong to this run alone.
    local home="$work/home$display"
    mkdir -p "$home/config" "$home/tmp"
    cp -r "$work/sample" "$home/sample"
    XDG_CONFIG_HOME="$home/config" TMPDIR="$home/tmp" QT_SCALE_FACTOR="$scale" \
        "$tool" "$home/sample/KELPAR.dat" >/dev/null 2>&1 &
    local app=$!
    pids+=($app)
    local window
    window=$(xdotool search --sync --onlyvisible --name "Varnok" | sed -n 1p)
    xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height" windowfocus "$window"
    shot "$prefix-1-items"

    key F7                      # View > Sheet of Items
    shot "$prefix-2-sheet-of-items"
    key F8                      # View > Sheet of the Item's Icons
    shot "$prefix-3-sheet-of-icons"
    key F6                      # back to the icons of the item

    focus "Varnok DurOrer"
    key F9                      # Play
    sleep 0.5
    shot "$prefix-4-animation"
    key F9                      # Stop

    # Drag the first item of the list out of the window.
    local x=$((60 * scale)) y=$((131 * scale))
    xdotool mousemove "$x" "$y" mousedown 1 sleep 0.3 mousemove $((x + 10)) $((y + 4)) \
        sleep 0.3 mousemove $((x + 40)) $((y + 20)) sleep 0.3 \
        mousemove $((width - 40)) $((height - 40)) sleep 0.5
    shot "$prefix-5-drag-out"
    xdotool mouseup 1
    sleep 0.5
    echo "dragged out: $(find "$home/tmp" -type f -printf '%f ' 2>/dev/null)"

    focus "Varnok DurOrer"
    key Home
    key alt+a m                 # Archive > Remove this S16
    focus "^Varnok Dat Tool$"
    shot "$prefix-6-removed"
    key Return                  # the "removed" message
    focus "Varnok DurOrer"
    key alt+e                   # Edit: "Undo Remove ..."
    shot "$prefix-7-undo-menu"
    key Escape
    key ctrl+z
    shot "$prefix-8-after-undo"

    kill "$app" 2>/dev/null || true
}

# The 100,000-item archive: the sheet scrolled to its end, then an unpack
# that the progress dialog's Cancel stops.
run_big() {
    local display=$1 width=$2 height=$3 prefix=$4
    export DISPLAY=":$display"
    Xvfb "$DISPLAY" -screen 0 "${width}x${height}x24" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    local home="$work/home$display"
    mkdir -p "$home/config" "$home/tmp"
    XDG_CONFIG_HOME="$home/config" TMPDIR="$home/tmp" \
        "$tool" "$work/big/KELPAR.dat" >/dev/null 2>&1 &
    local app=$!
    pids+=($app)
    local window
    window=$(xdotool search --sync --onlyvisible --name "Varnok" | sed -n 1p)
    xdotool windowmove "$window" 0 0 windowsize "$window" "$width" "$height" windowfocus "$window"
    sleep 2
    key F7
    xdotool mousemove $((width / 2)) $((height / 2)) click 1
    key ctrl+End
    shot "$prefix-1-sheet-end"
    key Page_Up Page_Up
    shot "$prefix-2-sheet-scrolled"
    key F6
    key alt+a u                 # Archive > UnPack to a folder
    sleep 1
    shot "$prefix-3-folder-choice"
    key Return
    sleep 2
    shot "$prefix-4-unpacking"
    local dialog X Y WIDTH HEIGHT
    dialog=$(xdotool search --onlyvisible --name "Please wait" | tail -1)
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 22)) click 1   # Cancel
    sleep 1
    shot "$prefix-5-cancelled"
    echo "written before Cancel: $(find "$work/big" -maxdepth 1 -name '*.S16' | wc -l) files"
    kill "$app" 2>/dev/null || true
}

run 81 800 600 1 "800x600"
run 82 1280 1024 1 "1280x1024"
run 83 1280 1024 2 "1280x1024-200pc"
if [ -n "$big" ]; then
    wait "$big"
    run_big 84 1280 1024 "100000-items"
fi
