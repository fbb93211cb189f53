#!/usr/bin/env bash
# The real viewer in a virtual X server: its window, its picture (the same as vorel-render's),
# the keys that must not end it, Escape that must, and silence on stdout and stderr.
# Usage: viewer_window_test.sh VIEWER DANCER_FOLDER MATCH_REST_POSE
viewer=$1
dancer=$2
match_rest_pose=$3
source "$(dirname "$0")/x_session.sh"

# The viewer's spin angle grows past 360 without wrapping, so its rotation (glRotatef of, say,
# 377 degrees) differs in the last bits from the renderer's 17 degrees; that moves a few edge
# pixels of the dancer: 0 to 24 were seen. 200 of 307200 pixels leaves room for that and for
# nothing else: a dance, another projection or lighting changes thousands.
max_differing_pixels=200

# Fails unless the window shows a rest-pose frame.
expect_rest_pose() {
    expect_rest_pose_of "$1" "$dancer/vorel.txt" "$max_differing_pixels" \
        "the viewer's picture matches none of vorel-render's rest-pose frames"
}

start_x_server
start_viewer "$viewer" "$dancer"
window=$(find_viewer_window)

[ "$(xdotool getwindowname "$window")" = "GLUT app" ] || fail "window title"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "window is $geometry, expected 640x480"

# A white background with the shaded figure in the middle.
import -window "$window" "$work/first.png"
[ "$(identify -format '%wx%h' "$work/first.png")" = "640x480" ] || fail "screenshot size"
for corner in '0,0' '639,0' '0,479' '639,479'; do
    colour=$(convert "$work/first.png" -format "%[pixel:p{$corner}]" info:)
    [ "$colour" = "srgb(255,255,255)" ] || [ "$colour" = "white" ] ||
        fail "corner $corner is $colour, expected white"
done
middle=$(convert "$work/first.png" -format '%[pixel:p{320,240}]' info:)
[ "$middle" != "srgb(255,255,255)" ] && [ "$middle" != "white" ] ||
    fail "nothing drawn in the middle"
expect_rest_pose "$window"

# Other character keys and special keys start nothing: the figure stays in its rest pose.
send_keys "$window" a z 0 8 9 q Return BackSpace Tab minus period F1 F5 F12 Left Right Up \
    Down Home End Prior Next Insert
expect_frames_since_keys "$window" "a key other than Escape and the dance keys acted" \
    "$dancer/vorel.txt" "$max_differing_pixels"

# Key 1 reaches the viewer and starts the Cancan, which lasts 640 frames: a second or two
# later the dancer has left the rest pose.
send_keys "$window" 1
expect_dancing "$window" "$dancer/vorel.txt" "$max_differing_pixels" "key 1 did not start a dance"

# The other dance keys and space act without ending the viewer.
send_keys "$window" 2 3 4 5 6 7 space space 1
expect_frames_since_keys "$window" "a dance key or space stopped the viewer"

end_viewer_with_escape "$window"
echo "PASS"
