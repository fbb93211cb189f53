#!/usr/bin/env bash
# Frames per second of the real viewer, unchanged, on a private virtual X server (Xvfb, Mesa's
# software GLX), counted from outside: libvorel_swap_counter.so is preloaded and counts the
# buffer swaps, one per frame. Each case runs for SECONDS after the window appears (with all
# seven dances started by their keys in the second case), then Escape ends the viewer.
# The shortest dance lasts 3.2 time units, about 320 frames; at more than about 100 frames per
# second all seven play throughout a 3-second run. Usage: bench/viewer_frame_rate.sh BUILD [SECONDS]
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../tests/e2e/x_session.sh"

build=$(cd "${1:?usage: viewer_frame_rate.sh BUILD_DIR [SECONDS]}" && pwd)
seconds=${2:-3}
counter="$build/bench/libvorel_swap_counter.so"

# Runs the viewer for the given seconds after sending the keys, and prints its frame rate.
measure() {
    local count="$work/swaps"
    rm -f "$count"
    VOREL_SWAP_COUNT_FILE="$count" LD_PRELOAD="$counter" start_viewer "$build/app/vorel" \
        "$build/dancer"
    local window
    window=$(find_viewer_window)
    if [ $# -gt 0 ]; then send_keys "$window" "$@"; fi
    sleep "$seconds"
    send_keys "$window" Escape
    wait_for_viewer
    [ -s "$count" ] || fail "the viewer reported no frames (exit status $viewer_status)"
    # Frames between the first and the last swap, over the time between them.
    awk '{ printf "%.1f frames per second (%d frames in %.2f s)\n", ($1 - 1) / $2, $1, $2 }' \
        "$count"
}

start_x_server
echo "Real viewer on Xvfb, ${seconds} s per case, swaps counted by a preloaded library:"
printf '  %-18s ' "nothing playing:"
measure
printf '  %-18s ' "all seven dances:"
measure 1 2 3 4 5 6 7
