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

# Photographs the window and tells whether it shows one of vorel-render's rest-pose frames
# of the imported set (the viewer turns the figure a degree a frame, so any spin angle).
shows_rest_pose() {
    import -window "$1" "$work/shot.png"
    convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb"
    "$match_rest_pose" "$work/robot/vorel.txt" "$work/shot.rgb" 200 >"$work/match.txt"
}

start_x_server
start_viewer "$viewer" "$work/robot"
window=$(find_viewer_window)

# The robot in its bind pose, drawn in the middle (a screenshot may catch a swap half done,
# so a mismatch is looked at three times).
import -window "$window" "$work/rest.png"
middle=$(convert "$work/rest.png" -format '%[pixel:p{320,240}]' info:)
[ "$middle" != "srgb(255,255,255)" ] && [ "$middle" != "white" ] || fail "nothing drawn in the middle"
resting=no
for attempt in 1 2 3; do
    if shows_rest_pose "$window"; then
        resting=yes
        break
    fi
done
[ "$resting" = yes ] || fail "the robot is not in its bind pose before any key: $(cat "$work/match.txt")"

# Dance lasts 3.3 s of the animation clock (about 330 frames): a second or two after its key
# the robot has left the bind pose.
send_keys "$window" "$key"
dancing=no
for attempt in 1 2 3; do
    sleep 1
    if ! shows_rest_pose "$window"; then
        dancing=yes
        break
    fi
done
[ "$dancing" = yes ] || fail "key $key did not set the robot dancing"
viewer_running || fail "the viewer ended while dancing"

send_keys "$window" Escape
wait_for_viewer
[ "$viewer_status" -eq 1 ] || fail "Escape ended the viewer with status $viewer_status, expected 1"
[ ! -s "$work/viewer.out" ] || fail "the viewer wrote to stdout: $(head -c 300 "$work/viewer.out")"
[ ! -s "$work/viewer.err" ] || fail "the viewer wrote to stderr: $(head -c 300 "$work/viewer.err")"
echo "PASS: key $key set the robot dancing; $(cat "$work/match.txt")"
