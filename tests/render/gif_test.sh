#!/usr/bin/env bash
# vorel-render --gif on the default dancer, decoded by ImageMagick: the frame count, the
# endless loop, delays that play the viewer's frames at the asked rate (gaps included), and
# every frame against vorel-render's own PNG of it, within the error the palette reports.
# Usage: gif_test.sh VOREL_RENDER DANCER_FOLDER
set -euo pipefail
render=$1
manifest=$2/vorel.txt
work=$(mktemp -d "${TMPDIR:-/tmp}/vorel-gif-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Full size, 30 frames per second, a gap in the list: viewer frame N starts at
# (N - 1) * 100 / 30 hundredths, rounded: 0, 3, 7, 10, 13, ... 37, then 63 (frame 20) and
# 97 (frame 30); the last frame lasts its step before, 10 frames, to 130.
frames=1-12,20,30
dances=(-d Cancan@1 -d Strut@6)
"$render" -f "$frames" "${dances[@]}" --fps 30 --scale 1 --gif "$work/dance.gif" "$manifest" \
    >"$work/summary" || fail "writing the GIF"
summary_pattern="^$work/dance.gif: 14 frames of 640x480, 1.30 s a loop, [0-9]+ bytes, "
summary_pattern+="[0-9]+ colours, largest channel error [0-9]+$"
grep -Eq "$summary_pattern" "$work/summary" || fail "summary: $(cat "$work/summary")"
reported=$(sed -E 's/.*largest channel error ([0-9]+)$/\1/' "$work/summary")

[ "$(identify "$work/dance.gif" | wc -l)" -eq 14 ] || fail "frame count"
delays=$(identify -format '%T ' "$work/dance.gif")
[ "$delays" = "3 4 3 3 4 3 3 4 3 3 4 26 34 33 " ] || fail "delays: $delays"
[ "$(identify -verbose "$work/dance.gif" | grep -c 'Iterations: 0')" -ge 1 ] ||
    fail "the GIF does not loop forever"

# Largest channel difference of two pictures, 0 to 255 (compare's peak absolute error).
peak_error() {
    local normalised
    normalised=$(compare -metric PAE "$1" "$2" null: 2>&1 | sed -E 's/.*\((.*)\)/\1/') || true
    awk -v n="$normalised" 'BEGIN { printf "%d\n", n * 255 + 0.5 }'
}

mkdir "$work/png"
"$render" -f "$frames" "${dances[@]}" -o "$work/png" "$manifest" || fail "writing the PNGs"
convert "$work/dance.gif" -coalesce "$work/gif-%02d.png"
largest=0
index=0
for png in "$work"/png/frame-*.png; do
    error=$(peak_error "$png" "$(printf '%s/gif-%02d.png' "$work" "$index")")
    [ "$error" -gt "$largest" ] && largest=$error
    index=$((index + 1))
done
# The figure's greys and blues on white: steps this small do not band.
[ "$largest" -le 8 ] || fail "a frame strays $largest levels from its PNG"
[ "$largest" -eq "$reported" ] || fail "largest error $largest, the summary said $reported"

# The defaults: half size, as the contact sheet draws a frame, at 50 frames per second.
"$render" -f 1-3 "${dances[@]}" --gif "$work/half.gif" "$manifest" >/dev/null ||
    fail "writing the half-size GIF"
[ "$(identify -format '%Wx%H %T ' "$work/half.gif")" = "320x240 2 320x240 2 320x240 2 " ] ||
    fail "half size at 50 fps: $(identify -format '%Wx%H %T ' "$work/half.gif")"
"$render" -f 3 "${dances[@]}" --sheet "$work/sheet-3.png" --columns 1 "$manifest" ||
    fail "writing the one-frame sheet"
convert "$work/half.gif" -coalesce "$work/half-%d.png"
[ "$(peak_error "$work/sheet-3.png" "$work/half-2.png")" -le 8 ] ||
    fail "the half-size frame differs from the contact sheet's"
echo "PASS (largest channel error $largest)"
