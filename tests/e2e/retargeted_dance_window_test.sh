#!/usr/bin/env bash
# The real viewer showing a retargeted dance: vorel-retarget puts the CMU capture on the
# default dancer under the Cancan's name, and key 1 in the viewer's window plays it from the
# rest pose until it ends, back at rest, with the viewer silent throughout.
# Usage: retargeted_dance_window_test.sh VIEWER RETARGET MATCH_REST_POSE CAPTURE.bvh
viewer=$1
retarget=$2
match_rest_pose=$3
capture=$4
source "$(dirname "$0")/x_session.sh"

# As in viewer_window_test.sh: room for the spin's last-bit differences and nothing else.
max_differing_pixels=200

"$retarget" --as Cancan "$capture" "$work/set" >"$work/retarget.out" ||
    fail "vorel-retarget failed: $(cat "$work/retarget.out")"
grep -q "^animation 'Cancan':" "$work/retarget.out" || fail "no Cancan in: $(cat "$work/retarget.out")"

shows_rest_pose() {
    shows_rest_pose_of "$1" "$work/set/vorel.txt" "$max_differing_pixels"
}

start_x_server
start_viewer "$viewer" "$work/set"
window=$(find_viewer_window)
expect_rest_pose_of "$window" "$work/set/vorel.txt" "$max_differing_pixels" \
    "the viewer does not start at rest"

send_keys "$window" 1
expect_dancing "$window" "$work/set/vorel.txt" "$max_differing_pixels" \
    "key 1 did not start the retargeted dance" 0.5

# The capture lasts 3.7 clock units; once it has played the dancer is back at rest.
ended=no
for attempt in $(seq 60); do
    sleep 0.5
    if shows_rest_pose "$window"; then
        ended=yes
        break
    fi
done
[ "$ended" = yes ] || fail "the retargeted dance did not end at rest within 30 seconds"

end_viewer_with_escape "$window"
echo "PASS"
