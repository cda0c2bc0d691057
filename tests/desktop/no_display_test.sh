#!/usr/bin/env bash
# usage: no_display_test.sh VELO IMAGE
# The real program without a display, and with a mistyped command: one line
# saying why, the documented status, and no abort (no core dump).
set -uo pipefail
velo=$1
image=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$velo" "$image" 2>&1)
status=$?
[ "$status" -eq 1 ] || fail "without a display: status $status, not 1 ($said)"
[[ "$said" == "velo: no display to show a window on"* ]] || fail "without a display it said: $said"

said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$velo" frobnicate "$image" 2>&1)
status=$?
[ "$status" -eq 2 ] || fail "a mistyped command: status $status, not 2 ($said)"
[ "$said" = "velo: 'frobnicate' is neither a command nor a file" ] || fail "it said: $said"
echo "passed: no display and a mistyped command are told, not aborted on"
