#!/usr/bin/env bash
# vorel-render as a user runs it: help, usage errors (status 2, one line and a hint), the
# files it writes, the contact sheet, the GIF, the benchmark that writes nothing, and refusals.
# Usage: render_cli_test.sh VOREL_RENDER WRITE_BOX_SET
set -euo pipefail
render=$1
write_box_set=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vorel-render-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

mkdir "$work/box" "$work/out"
"$write_box_set" "$work/box"
manifest=$work/box/vorel.txt

# Runs the renderer and records its status, stdout and stderr.
run() {
    status=0
    "$render" "$@" >"$work/stdout" 2>"$work/stderr" || status=$?
}

run --help
[ "$status" -eq 0 ] || fail "--help ended with $status"
grep -q '^Usage: vorel-render \[OPTION\]\.\.\. MANIFEST' "$work/stdout" || fail "--help text"
[ ! -s "$work/stderr" ] || fail "--help wrote to stderr"

# Every usage error: status 2, one line and a hint, nothing on stdout.
expect_usage_error() {
    run "$@"
    local shown="[$*]"
    [ "$status" -eq 2 ] || fail "$shown ended with $status, expected 2"
    [ "$(wc -l <"$work/stderr")" -eq 2 ] || fail "$shown: $(cat "$work/stderr")"
    grep -q "^vorel-render: " "$work/stderr" || fail "$shown message"
    grep -q "^Try 'vorel-render --help'" "$work/stderr" || fail "$shown hint"
    [ ! -s "$work/stdout" ] || fail "$shown wrote to stdout"
}
expect_usage_error
expect_usage_error --frames
expect_usage_error "$manifest" --frames
expect_usage_error --frames 0 "$manifest"
expect_usage_error --bogus "$manifest"
expect_usage_error -x "$manifest"
expect_usage_error --dance Cancan "$manifest"
expect_usage_error "$manifest" "$manifest"
expect_usage_error --columns x "$manifest"
expect_usage_error --columns 0 "$manifest"
expect_usage_error --output= "$manifest"
expect_usage_error --sheet "" "$manifest"
expect_usage_error --benchmark -5 "$manifest"
expect_usage_error --benchmark lots "$manifest"
expect_usage_error --sheet s.png --frames 1-65 "$manifest"
expect_usage_error --help=yes "$manifest"
expect_usage_error --gif "" "$manifest"
expect_usage_error --gif a.gif --fps 0 "$manifest"
expect_usage_error --gif a.gif --fps 51 "$manifest"
expect_usage_error --gif a.gif --fps fast "$manifest"
expect_usage_error --gif a.gif --scale 2 "$manifest"
expect_usage_error --gif a.gif --scale 1/3 "$manifest"
expect_usage_error --gif a.gif --sheet s.png "$manifest"
expect_usage_error --fps 25 "$manifest"
expect_usage_error --scale 1 --sheet s.png "$manifest"
# At 1 frame per second, 699 frames apart is longer than a GIF delay holds (655.35 s).
expect_usage_error --gif a.gif --fps 1 -f 1,700 "$manifest"
# A picture never replaces the manifest it draws.
expect_usage_error --gif "$manifest" "$manifest"
expect_usage_error --sheet "$work/box/../box/vorel.txt" "$manifest"
[ "$(head -c 5 "$manifest")" != "GIF89" ] || fail "the manifest was overwritten"

# --help wins over everything else on the line.
run --frames 2 --help --bogus
[ "$status" -eq 0 ] || fail "--help among other options ended with $status"
grep -q '^Usage: vorel-render' "$work/stdout" || fail "--help among other options"

# A manifest the viewer would refuse is refused the same way, naming the file.
run "$work/absent/vorel.txt"
[ "$status" -eq 1 ] || fail "missing manifest ended with $status, expected 1"
grep -qF "$work/absent/vorel.txt" "$work/stderr" || fail "missing manifest: $(cat "$work/stderr")"
run -d "Strut@2" "$manifest"
[ "$status" -eq 1 ] || fail "unknown dance ended with $status, expected 1"
grep -qF '"Strut"' "$work/stderr" || fail "unknown dance: $(cat "$work/stderr")"

# Frames are written as frame-NNNN.png, 640x480, and only the selected ones; the manifest is
# found relative to its own folder whatever the working directory.
(cd / && "$render" -f 2,5-6 -d Cancan@3 -o "$work/out" "$manifest") || fail "rendering frames"
[ "$(cd "$work/out" && echo *)" = "frame-0002.png frame-0005.png frame-0006.png" ] ||
    fail "wrote $(ls "$work/out")"
[ "$(identify -format '%wx%h' "$work/out/frame-0005.png")" = "640x480" ] || fail "frame size"
compare -metric AE "$work/out/frame-0005.png" "$work/out/frame-0006.png" null: 2>/dev/null &&
    fail "frames 5 and 6 are identical although the figure turns"

run -f 1-3 --sheet "$work/sheet.png" --columns 2 -o "$work/none" "$manifest"
[ "$status" -eq 0 ] || fail "sheet: $(cat "$work/stderr")"
[ "$(identify -format '%wx%h' "$work/sheet.png")" = "640x480" ] || fail "2x2 sheet of half tiles"
[ ! -e "$work/none" ] || fail "a sheet run wrote frame files"

# Long options with '=' and short ones with a separate value mean the same.
run --frames=1-4 --dance=Cancan@2 -d Cancan@3 --sheet="$work/sheet4.png" --columns=4 "$manifest"
[ "$status" -eq 0 ] || fail "equals forms: $(cat "$work/stderr")"
[ "$(identify -format '%wx%h' "$work/sheet4.png")" = "1280x240" ] || fail "4x1 sheet of half tiles"

# -o makes its folder and the folders above it, as import and retarget do.
run -o "$work/absent/nested" "$manifest"
[ "$status" -eq 0 ] || fail "a new -o folder: $(cat "$work/stderr")"
[ -f "$work/absent/nested/frame-0001.png" ] || fail "a new -o folder holds $(ls "$work/absent/nested")"
touch "$work/plain-file"
run -o "$work/plain-file/frames" "$manifest"
[ "$status" -eq 1 ] || fail "unwritable output ended with $status, expected 1"
grep -qF "$work/plain-file/frames" "$work/stderr" || fail "unwritable output message"

# A GIF: one line of summary; a GIF that cannot be written leaves nothing, not even a
# temporary beside the folder in its way.
run -f 1-5 --gif "$work/box.gif" "$manifest"
[ "$status" -eq 0 ] || fail "gif: $(cat "$work/stderr")"
grep -Eq "^$work/box.gif: 5 frames of 320x240, 0.10 s a loop, [0-9]+ bytes" "$work/stdout" ||
    fail "gif summary: $(cat "$work/stdout")"
[ "$(identify "$work/box.gif" | wc -l)" -eq 5 ] || fail "gif frame count"
run -f 1-2 --gif "$work/absent-folder/a.gif" "$manifest"
[ "$status" -eq 1 ] || fail "unwritable gif ended with $status, expected 1"
grep -qF "$work/absent-folder/a.gif: " "$work/stderr" || fail "unwritable gif message"
mkdir -p "$work/in-the-way.gif/kept"
run -f 1-2 --gif "$work/in-the-way.gif" "$manifest"
[ "$status" -eq 1 ] || fail "gif onto a folder ended with $status, expected 1"
[ -d "$work/in-the-way.gif/kept" ] || fail "the folder in the way was touched"
[ -z "$(find "$work" -maxdepth 1 -name '*partial*')" ] || fail "a temporary was left behind"

# "--" ends the options, so the manifest may be named like an option.
cp "$manifest" "$work/box/-odd name.txt"
(cd "$work/out" && rm -f ./*.png &&
    "$render" --benchmark 30 -d Cancan@1 -- "$work/box/-odd name.txt" >"$work/stdout") ||
    fail "benchmark"
grep -Eq '^30 frames, [0-9.]+ frames per second' "$work/stdout" || fail "$(cat "$work/stdout")"
[ -z "$(ls "$work/out")" ] || fail "the benchmark wrote files"
echo PASS
