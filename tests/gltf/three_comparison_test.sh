#!/usr/bin/env bash
# Imports a glTF file with vorel-import --fit none, poses the imported set with
# vorel-inspect pose --obj-frames at chosen viewer frames, poses the original with three.js
# (tests/node/skinned_positions.mjs, one process for every time) at the same local times, and
# compares the two.
#
# usage: three_comparison_test.sh IMPORT INSPECT COMPARE NODE_SCRIPT WORK GLTF ANIMATION \
#          KEY_FRAMES BETWEEN_FRAMES
#   KEY_FRAMES, BETWEEN_FRAMES: comma-separated viewer frames (frame 1 plays local time 0)
#   whose local times are glTF key times or fall between keys; every vertex, blended ones
#   included, must come within 0.01 % of the height of three.js's.
set -euo pipefail
import=$1 inspect=$2 compare=$3 script=$4 work=$5 gltf=$6 animation=$7 keys=$8 between=$9

rm -rf "$work"
mkdir -p "$work"
"$import" --fit none "$gltf" "$work/set" >"$work/import.txt"
manifest="$work/set/vorel.txt"

# The local time the figure is sampled at in frame k: the playing animation's local time
# after k - 1 frames, as the viewer's float accumulation made it.
local_time() {
  if [ "$1" -eq 1 ]; then echo 0; return; fi
  "$inspect" pose "$manifest" "$(($1 - 1))" "$animation@1" |
    sed -n "s/^  '$animation'.* local time \([^ ]*\)$/\1/p"
}

frames=() limits=() kinds=() times=()
status=0
add_frame() {
  local frame=$1 time
  time=$(local_time "$frame")
  if [ -z "$time" ]; then
    echo "$animation has ended before frame $frame: choose an earlier frame" >&2
    status=1
    return
  fi
  frames+=("$frame") limits+=("$2") kinds+=("$3") times+=("$time")
}
for frame in ${keys//,/ }; do add_frame "$frame" 0.01 "key"; done
for frame in ${between//,/ }; do add_frame "$frame" 0.01 "between keys"; done
[ ${#frames[@]} -gt 0 ] || exit $status

# Every frame's mesh from one run to the last of them (each as a run ending there would pose
# it), and three.js's skinning at every time from one Node process, split into a file per frame.
last=$(printf '%s\n' "${frames[@]}" | sort -n | tail -n 1)
"$inspect" pose "$manifest" "$last" "$animation@1" --obj "$work/pose.obj" \
  --obj-frames "$(IFS=,; echo "${frames[*]}")" >/dev/null
node "$script" "$gltf" "$animation" "${times[@]}" >"$work/three.txt"
awk -v work="$work" -v frames="${frames[*]}" 'BEGIN { split(frames, frame, " ") }
  /^time / { if (out) close(out); out = work "/" frame[++at] ".three" }
  { print > out }' "$work/three.txt"

for at in "${!frames[@]}"; do
  frame=${frames[$at]}
  "$compare" "$gltf" "$work/pose-$frame.obj" "$work/$frame.three" "${limits[$at]}" \
    "$(basename "$gltf") '$animation' frame $frame (${kinds[$at]})" || status=1
done
exit $status
