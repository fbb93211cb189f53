# Sourced by the window tests: a private virtual X server on a free display number, a work
# folder, and a cleanup that stops every process the test started, whatever the outcome.
# NOTE: without a window manager `xdotool windowactivate` fails, so keys go to a window
# through `windowfocus --sync` followed by a plain `xdotool key`.

set -euo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/vorel-e2e.XXXXXX")
xvfb_pid=""
viewer_pid=""

cleanup() {
    if [ -n "$viewer_pid" ] && kill -0 "$viewer_pid" 2>/dev/null; then
        kill "$viewer_pid" 2>/dev/null || true
        wait "$viewer_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Xvfb picks a display number no other server holds and writes it to fd 3 once it is ready.
start_x_server() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        if [ -s "$work/display" ]; then
            export DISPLAY=":$(head -n 1 "$work/display")"
            return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$work/xvfb.log" >&2
    fail "Xvfb did not start"
}

# Runs the viewer in a folder, in the background, its output captured in the work folder.
# Leak checking stays off for the viewer alone: Mesa's GLX leaks at exit are not ours.
start_viewer() {
    local viewer=$1 folder=$2
    (cd "$folder" && exec env ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        "$viewer" >"$work/viewer.out" 2>"$work/viewer.err") &
    viewer_pid=$!
}

# Prints the id of the viewer's window once it is mapped and its first frame is drawn.
find_viewer_window() {
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^GLUT app$' | head -n 1) ||
        fail "no window titled \"GLUT app\" appeared"
    wait_for_first_frame "$window"
    echo "$window"
}

# A window is mapped before the viewer has cleared it (a slow sanitizer build shows black for
# a moment): waits up to 20 seconds for the white background in its top-left corner.
wait_for_first_frame() {
    local window=$1 colour
    for _ in $(seq 100); do
        colour=$(import -window "$window" -crop 1x1+0+0 -format '%[pixel:p{0,0}]' info: 2>/dev/null) || true
        [ "$colour" = "srgb(255,255,255)" ] || [ "$colour" = "white" ] && return 0
        sleep 0.2
    done
    fail "the viewer's window was never drawn: its corner is still ${colour:-unreadable}"
}

# Sends keys to a window, as a user with the window focused would type them.
send_keys() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window"
    xdotool key --delay 30 "$@"
}

# Photographs the window and tells whether it shows one of vorel-render's rest-pose frames of
# the set MANIFEST names, at any spin angle, with at most MAX_PIXELS pixels differing; the
# matching frame, or else the closest, is described in $work/match.txt. Needs $match_rest_pose.
shows_rest_pose_of() {
    local window=$1 manifest=$2 max_pixels=$3
    import -window "$window" "$work/shot.png"
    convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb"
    "$match_rest_pose" "$manifest" "$work/shot.rgb" "$max_pixels" >"$work/match.txt"
}

# Fails with MESSAGE unless the window shows a rest-pose frame; a screenshot can catch a
# buffer swap half done, so a mismatch is retried twice before it counts.
expect_rest_pose_of() {
    local window=$1 manifest=$2 max_pixels=$3 message=$4 attempt
    for attempt in 1 2 3; do
        shows_rest_pose_of "$window" "$manifest" "$max_pixels" && return 0
    done
    fail "$message: $(cat "$work/match.txt")"
}

# Fails with MESSAGE unless the window has left every rest-pose frame within three looks
# PAUSE seconds apart (default 1; a slow sanitizer build may need the later looks).
expect_dancing() {
    local window=$1 manifest=$2 max_pixels=$3 message=$4 pause=${5:-1} attempt
    for attempt in 1 2 3; do
        sleep "$pause"
        shows_rest_pose_of "$window" "$manifest" "$max_pixels" || return 0
    done
    fail "$message"
}

# Looks at the window LOOKS times PAUSE seconds apart (default 3 and 1: as long as
# expect_dancing waits for a dance) and fails with MESSAGE unless the viewer runs throughout and
# every picture differs from the one before. The figure turns by a degree every frame, so the
# changes prove that the viewer drew frames after the first look, which came after the keys
# sent before this: it has read them, however slow the build. With a MANIFEST and MAX_PIXELS
# each picture must also be one of vorel-render's rest-pose frames.
expect_frames_since_keys() {
    local window=$1 message=$2 manifest=${3:-} max_pixels=${4:-} looks=${5:-3} pause=${6:-1} look
    for look in $(seq "$looks"); do
        [ "$look" -eq 1 ] || sleep "$pause"
        viewer_running || fail "$message: the viewer ended"
        if [ -n "$manifest" ]; then
            expect_rest_pose_of "$window" "$manifest" "$max_pixels" "$message"
        else
            import -window "$window" "$work/shot.png"
            convert "$work/shot.png" -depth 8 "rgb:$work/shot.rgb"
        fi
        if [ "$look" -gt 1 ] && cmp -s "$work/shot.rgb" "$work/look.rgb"; then
            fail "$message: the viewer drew no frame in $pause s"
        fi
        cp "$work/shot.rgb" "$work/look.rgb"
    done
}

# Escape ends the viewer with status 1 (its deliberate exit status) and nothing printed.
end_viewer_with_escape() {
    send_keys "$1" Escape
    wait_for_viewer
    [ "$viewer_status" -eq 1 ] || fail "Escape ended the viewer with status $viewer_status, expected 1"
    [ ! -s "$work/viewer.out" ] || fail "the viewer wrote to stdout: $(head -c 300 "$work/viewer.out")"
    [ ! -s "$work/viewer.err" ] || fail "the viewer wrote to stderr: $(head -c 300 "$work/viewer.err")"
}

viewer_running() {
    kill -0 "$viewer_pid" 2>/dev/null
}

# Waits for the viewer to end and sets viewer_status to its exit status; fails after 20
# seconds. (Not through $(...): only this shell can wait for its own child.)
wait_for_viewer() {
    for _ in $(seq 200); do
        if ! viewer_running; then
            viewer_status=0
            wait "$viewer_pid" || viewer_status=$?
            viewer_pid=""
            return 0
        fi
        sleep 0.1
    done
    fail "the viewer did not end"
}
