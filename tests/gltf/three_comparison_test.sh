#!/usr/bin/env bash
# Imports a glTF file with vorel-import --fit none, poses the imported set with
# vorel-inspect pose --obj at chosen viewer frames, poses the original with three.js
# (tests/node/skinned_positions.mjs) at the same local times, and compares the two.
#
# usage: three_comparison_test.sh IMPORT INSPECT COMPARE NODE_SCRIPT WORK GLTF ANIMATION \
#          KEY_FRAMES BETWEEN_FRAMES
#   KEY_FRAMES, BETWEEN_FRAMES: comma-separated viewer frames (frame 1 plays local time 0)
#   whose local times are glTF key times (limit 0.1 % of the height) or fall between keys
#   (limit 0.5 %).
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

status=0
compare_frame() {
  local frame=$1 limit=$2 kind=$3
  local time
  time=$(local_time "$frame")
  if [ -z "$time" ]; then
    echo "$animation has ended before frame $frame: choose an earlier frame" >&2
    status=1
    return
  fi
  "$inspect" pose "$manifest" "$frame" "$animation@1" --obj "$work/$frame.obj" >/dev/null
  node "$script" "$gltf" "$animation" "$time" >"$work/$frame.three"
  "$compare" "$gltf" "$work/$frame.obj" "$work/$frame.three" "$limit" \
    "$(basename "$gltf") '$animation' frame $frame ($kind)" || status=1
}

for frame in ${keys//,/ }; do compare_frame "$frame" 0.1 "key"; done
for frame in ${between//,/ }; do compare_frame "$frame" 0.5 "between keys"; done
exit $status
