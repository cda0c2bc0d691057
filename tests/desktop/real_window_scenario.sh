#!/usr/bin/env bash
# usage: real_window_scenario.sh VELO SCREENSHOT_DIR
# Drives the real velo program on a real X server by X events, as a person
# would: opens an image, clicks it, gives the new adjustment another target
# colour in the colour panel and exports a PNG, which must equal velo apply of
# the same adjustments byte for byte. Then kills velo, starts it again, takes
# back the unsaved work it offers, exports that too and quits without saving.
# Runs only when VELO_REAL_X=1 (scripts/test sets it under xvfb-run), so that a
# developer's own desktop is left alone; exits 77 otherwise.
set -euo pipefail

velo=$1
shots=$2

if [ "${VELO_REAL_X:-}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
    echo "skipped: runs under scripts/test's X server (VELO_REAL_X=1 and DISPLAY)"
    exit 77
fi
for tool in xdotool xwininfo import convert; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

tmp=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
export XDG_DATA_HOME=$tmp/data XDG_CONFIG_HOME=$tmp/config XDG_CACHE_HOME=$tmp/cache
export QT_QPA_PLATFORM=xcb
recovery=$XDG_DATA_HOME/Velo/Velo/recovery
mkdir -p "$shots"

fail() {
    echo "FAIL: $*" >&2
    shot failure
    echo "--- velo's output:" >&2
    cat "$tmp"/velo-*.log >&2 2>/dev/null || true
    exit 1
}

step=0
shot() {
    step=$((step + 1))
    import -window root "$shots/real-x-$(printf %02d $step)-$1.png"
}

# The id of the visible window whose title matches, once it is there. A
# search fails outright (BadWindow) when another window closes while it
# looks, as a dialog does when answered: such a search is tried again.
window() {
    local id
    for ((i = 0; i < 300; i++)); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$id" ] && echo "$id" && return 0
        sleep 0.1
    done
    fail "no window titled like '$1'"
}

focus() {
    xdotool windowfocus --sync "$1"
}

start_velo() {
    "$velo" "$@" >"$tmp/velo-$#-${#pids[@]}.log" 2>&1 &
    pids+=($!)
}

# Waits until a command succeeds, for at most $1 seconds.
wait_until() {
    local seconds=$1
    shift
    for ((i = 0; i < seconds * 10; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Where the window shows a colour in its right-hand part (the drawer, not the
# image): the middle of the rightmost of its two swatches.
swatch_centre() {
    local window=$1 colour=$2 X Y WIDTH HEIGHT
    # xwininfo, not xdotool: under a window manager that reparents, xdotool
    # counts the frame's offset twice.
    read -r X Y WIDTH HEIGHT < <(xwininfo -id "$window" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')
    import -window root "$tmp/window.png"
    convert "$tmp/window.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage txt:- |
        grep -i "$colour" | awk -F'[,:]' -v half=$((WIDTH / 2)) '$1 > half { print $1, $2 }' |
        awk '{ x[NR] = $1; y[NR] = $2; if (NR == 1 || $1 < lo) lo = $1; if (NR == 1 || $1 > hi) hi = $1 }
             END { if (NR == 0) exit 1; mid = (lo + hi) / 2
                   for (i = 1; i <= NR; i++) if (x[i] > mid) { sx += x[i]; sy += y[i]; n++ }
                   printf "%d %d\n", sx / n, sy / n }'
}

export_png() {
    local window=$1 path=$2 dialog
    focus "$window"
    xdotool key ctrl+e
    dialog=$(window '^Export$')
    focus "$dialog"
    xdotool key ctrl+a
    xdotool type --delay 10 "$path"
    xdotool key Return
    wait_until 20 test -s "$path" || fail "Export wrote no $path"
}

kept_target() {
    for entry in "$recovery"/*.velo; do
        [ -e "$entry" ] && "$velo" info "$entry" | grep -q '> 0.200000003,0.400000006,0.800000012' &&
            return 0
    done
    return 1
}

# Orange on the left with a pale strip below, blue on the right.
convert -size 320x240 xc:'#e08040' -fill '#4060a0' -draw 'rectangle 160,0 319,239' \
    -fill '#f0f0e0' -draw 'rectangle 0,200 159,239' "$tmp/photo.png"
"$velo" new "$tmp/base.velo" "$tmp/photo.png" --defaults >/dev/null
"$velo" apply --quiet --doc "$tmp/base.velo" --map '#e08040>#3366cc' -o "$tmp/expected.png" \
    "$tmp/photo.png"

start_velo "$tmp/photo.png"
main=$(window '^photo\.png')
sleep 0.5
shot opened

# A click in the orange: a new adjustment from orange to orange, selected.
xdotool mousemove --window "$main" 40 120 click 1
wait_until 10 swatch_centre "$main" '#E08040' >/dev/null || fail "no new adjustment for the click"
read -r sx sy < <(swatch_centre "$main" '#E08040')
shot picked
xdotool mousemove --window "$main" "$sx" "$sy" click 1
panel=$(window '^Colors')
focus "$panel"
xdotool key alt+h ctrl+a
xdotool type --delay 20 '#3366cc'
xdotool key Return
sleep 0.5
shot recoloured

export_png "$main" "$tmp/exported.png"
cmp "$tmp/exported.png" "$tmp/expected.png" || fail "the window's export differs from velo apply"

# The unsaved work is kept within seconds; a killed Velo gives it back.
wait_until 40 kept_target || fail "the edited document was not kept for recovery"
kill -9 "${pids[0]}"
wait "${pids[0]}" 2>/dev/null || true
start_velo
offer=$(window '^Recover unsaved work')
shot recovery-offered
focus "$offer"
xdotool key Return
recovered=$(window '^photo\.png \(recovered\)')
sleep 0.5
shot recovered
export_png "$recovered" "$tmp/recovered.png"
cmp "$tmp/recovered.png" "$tmp/expected.png" || fail "the recovered document recolours otherwise"

# Quitting asks about the unsaved work; not saving it gives it up.
focus "$recovered"
xdotool key ctrl+q
sheet=$(window '^Save changes')
shot asked-to-save
focus "$sheet"
xdotool key alt+d
wait_until 20 bash -c "! kill -0 ${pids[1]} 2>/dev/null" || fail "velo did not quit"
compgen -G "$recovery/*.velo" >/dev/null && fail "given-up work is still kept for recovery"
echo "passed: export equals velo apply, before and after recovery"
