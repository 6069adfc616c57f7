#!/usr/bin/env bash
# Starts the window under Xvfb at a given screen size and scale, opens the
# sample archive, the S16 Maker and the SHP import, and saves a screenshot of
# each, with the window sizes the window manager-less server reports.
#   tests/screens/window_screens.sh BUILD_DIR OUT_DIR DISPLAY WIDTHxHEIGHT [SCALE]
set -euo pipefail
build=$1 out=$2 display=$3 size=$4 scale=${5:-1}
mkdir -p "$out"
work=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
Xvfb ":$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display" QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$work/config" HOME="$work"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$build/src/cli/varnok-dat" sample "$work/data" --items 24 >/dev/null
"$build/src/app/varnok-dat-tool" "$work/data/KELPAR.dat" &
app=$!
window=$(xdotool search --sync --onlyvisible --name "Varnok DurOrer" | sed -n 1p)
sleep 1
tag="${size}_x${scale}"
import -window root "$out/main_$tag.png"
xdotool getwindowgeometry "$window" | sed "s/^/main $tag: /"
# The S16 Maker and the SHP import from the Tools menu.
for entry in "m:Varnok S16 Creator:maker" "h:Import Helmar:import"; do
    IFS=: read -r key title name <<<"$entry"
    xdotool windowfocus "$window"; sleep 0.3; xdotool key alt+t; sleep 0.3; xdotool key "$key"
    dialog=$(xdotool search --sync --onlyvisible --name "$title" | sed -n 1p)
    sleep 1
    import -window root "$out/${name}_$tag.png"
    xdotool getwindowgeometry "$dialog" | sed "s/^/$name $tag: /"
    xdotool key Escape
    sleep 0.5
done
# The folder browser of UnPack, opened on the archive's folder, and its
# right-click menu on that folder.
xdotool windowfocus "$window"; sleep 0.3; xdotool key alt+a; sleep 0.3; xdotool key u
browser=$(xdotool search --sync --onlyvisible --name "Folder Browser" | sed -n 1p)
sleep 1
import -window root "$out/browser_$tag.png"
xdotool getwindowgeometry "$browser" | sed "s/^/browser $tag: /"
xdotool key Escape
sleep 0.5
# The S16 Tool on the sample folder.
xdotool windowfocus "$window"; sleep 0.3; xdotool key ctrl+t
sleep 1
import -window root "$out/s16tool_$tag.png"
