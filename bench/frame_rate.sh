#!/usr/bin/env bash
# Frames per second of the whole frame (update, skinning and the immediate-mode drawing, as
# the viewer does them) on the default dancer, through vorel-render's frame loop, which
# writes nothing. Each case runs REPEATS times, interleaved with the other, and the median
# is printed beside every run. Usage: bench/frame_rate.sh BUILD_DIR [FRAMES] [REPEATS]
# 300 frames: the shortest dance lasts 320, so all seven play in every measured frame.
set -euo pipefail

build=${1:?usage: frame_rate.sh BUILD_DIR [FRAMES] [REPEATS]}
frames=${2:-300}
repeats=${3:-5}
render="$build/tools/render/vorel-render"
manifest="$build/dancer/vorel.txt"
dances=("Cancan" "Joyous Walk" "Strut" "HighKick" "MidKick" "LowKick" "Salute")

all_seven=()
for dance in "${dances[@]}"; do all_seven+=(--dance "$dance@1"); done

# The frames-per-second figure of one run.
rate() {
    "$render" --benchmark "$frames" "$@" "$manifest" | awk '{ print $3 }'
}

median() {
    tr ' ' '\n' | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# Drawn once before measuring, so that the first run does not pay for starting the driver.
rate >/dev/null
still=()
dancing=()
for ((i = 0; i < repeats; i++)); do
    still+=("$(rate)")
    dancing+=("$(rate "${all_seven[@]}")")
done
echo "Whole frame on the default dancer, frames per second over $frames frames" \
     "(vorel-render --benchmark, $repeats runs):"
echo "  nothing playing:  median $(echo "${still[@]}" | median)   runs: ${still[*]}"
echo "  all seven dances: median $(echo "${dancing[@]}" | median)   runs: ${dancing[*]}"
"$render" --benchmark 1 "$manifest" | sed "s/^[^(]*(/  renderer: /; s/)$//"
