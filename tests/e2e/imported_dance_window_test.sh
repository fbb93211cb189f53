#!/usr/bin/env bash
# The real viewer on a set vorel-import made from RobotExpressive: the robot stands in the
# window, the key the summary names for "Dance" sets it dancing, and Escape ends the viewer
# with nothing printed.
# Usage: imported_dance_window_test.sh VIEWER IMPORT ROBOT_GLB MATCH_REST_POSE
viewer=$1
importer=$2
robot=$3
match_rest_pose=$4
source "$(dirname "$0")/x_session.sh"

"$importer" "$robot" "$work/robot" >"$work/import.txt" || fail "vorel-import failed: $(cat "$work/import.txt")"
key=$(sed -n "s/^key \([1-7]\): '.*' plays 'Dance'$/\1/p" "$work/import.txt")
[ -n "$key" ] || fail "the import summary names no key for Dance: $(cat "$work/import.txt")"

# The viewer turns the figure a degree a frame: rest-pose frames at any spin angle count.
max_differing_pixels=200
manifest=$work/robot/vorel.txt

start_x_server
start_viewer "$viewer" "$work/robot"
window=$(find_viewer_window)

# The robot in its bind pose, drawn in the middle.
import -window "$window" "$work/rest.png"
middle=$(convert "$work/rest.png" -format '%[pixel:p{320,240}]' info:)
[ "$middle" != "srgb(255,255,255)" ] && [ "$middle" != "white" ] || fail "nothing drawn in the middle"
expect_rest_pose_of "$window" "$manifest" "$max_differing_pixels" "the robot is not in its bind pose before any key"

# Dance lasts 3.3 s of the animation clock, 333 frames, which a fast viewer plays in about a
# second: the looks come 0.3 s apart.
send_keys "$window" "$key"
expect_dancing "$window" "$manifest" "$max_differing_pixels" "key $key did not set the robot dancing" 0.3
viewer_running || fail "the viewer ended while dancing"

end_viewer_with_escape "$window"
echo "PASS: key $key set the robot dancing; $(cat "$work/match.txt")"
