#!/usr/bin/env bash
# The viewer refuses, before building the figure, every manifest it cannot show: it prints
# one line on stderr naming the file and what is wrong, and ends with status 2 instead of
# leaving a blank window open. Usage: viewer_startup_failure_test.sh VIEWER
viewer=$1
source "$(dirname "$0")/x_session.sh"

# Runs the viewer in a folder and checks status 2, one stderr line naming the file (and
# containing the given detail), nothing on stdout.
expect_refusal() {
    local case_name=$1 folder=$2 named_file=$3 detail=$4
    start_viewer "$viewer" "$folder"
    wait_for_viewer
    [ "$viewer_status" -eq 2 ] || fail "$case_name: status $viewer_status, expected 2"
    [ ! -s "$work/viewer.out" ] || fail "$case_name: wrote to stdout"
    local lines
    lines=$(wc -l <"$work/viewer.err")
    [ "$lines" -eq 1 ] || fail "$case_name: $lines lines on stderr, expected 1: $(cat "$work/viewer.err")"
    grep -qF -- "$named_file" "$work/viewer.err" ||
        fail "$case_name: message does not name $named_file: $(cat "$work/viewer.err")"
    grep -qF -- "$detail" "$work/viewer.err" ||
        fail "$case_name: message lacks \"$detail\": $(cat "$work/viewer.err")"
    echo "ok: $case_name: $(cat "$work/viewer.err")"
}

start_x_server

mkdir "$work/missing"
expect_refusal "missing manifest" "$work/missing" "vorel.txt" "cannot be opened"

mkdir "$work/no-model"
printf '0\n0\n' >"$work/no-model/vorel.txt"
expect_refusal "no model" "$work/no-model" "vorel.txt" "no model"

# "PLY" with version 4: the model loader stops at byte 3.
mkdir "$work/corrupt"
printf '1\nbody\nbody.ply\n0\n' >"$work/corrupt/vorel.txt"
printf 'PLY\004\000\000\000' >"$work/corrupt/body.ply"
expect_refusal "corrupt model file" "$work/corrupt" "body.ply" "offset 3"

mkdir "$work/truncated"
printf '1\nbody\n' >"$work/truncated/vorel.txt"
expect_refusal "manifest ending early" "$work/truncated" "vorel.txt" "vorel.txt"
echo "PASS"
