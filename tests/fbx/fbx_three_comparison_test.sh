#!/usr/bin/env bash
# Poses an FBX file with three.js's FBXLoader (tests/node/skinned_positions.mjs, one Node
# process for every time) and compares every vertex and every skinned bone with Vorel's import
# posed at the same times (compare_fbx_with_three).
#
# usage: fbx_three_comparison_test.sh COMPARE NODE_SCRIPT WORK FBX ANIMATION TIMES
#   TIMES: comma-separated seconds from the animation's start, at keys and between them.
# Exits 77 (skipped) when FBX does not exist: the assimp-testmodels package is not installed.
set -euo pipefail
compare=$1 script=$2 work=$3 fbx=$4 animation=$5 times=$6

if [ ! -f "$fbx" ]; then
  echo "skipped: $fbx is missing (scripts/install-deps test installs assimp-testmodels)"
  exit 77
fi
mkdir -p "$work"
start=$("$compare" start "$fbx" "$animation")
three_times=()
for t in ${times//,/ }; do three_times+=("$(awk -v s="$start" -v t="$t" 'BEGIN { printf "%.17g", s + t }')"); done
out="$work/$(basename "$fbx").$(echo "$animation" | tr -c 'A-Za-z0-9\n' '_').three"
node "$script" --bind --skins "$fbx" "$animation" "${three_times[@]}" >"$out"
"$compare" "$fbx" "$animation" "$out" 1e-4 ${times//,/ }
