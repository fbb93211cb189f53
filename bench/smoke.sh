#!/usr/bin/env bash
# Runs every benchmark once, very briefly, and the frame-rate scripts for a moment, so that
# none can rot unnoticed; the figures mean nothing. Fails when a benchmark reports an
# error. Usage: bench/smoke.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: smoke.sh BUILD_DIR}
here=$(dirname "$0")
if ! output=$("$build/bench/vorel-bench" --benchmark_min_time=0.0001 2>&1) ||
    grep -q "ERROR OCCURRED" <<<"$output"; then
    echo "$output" >&2
    echo "bench-smoke: a benchmark failed" >&2
    exit 1
fi
"$here/frame_rate.sh" "$build" 3 1 >/dev/null
"$here/viewer_frame_rate.sh" "$build" 1 >/dev/null
# Benchmark lines come before the ratio table, which names some of them again.
count=$(sed '/^update \/ floor/q' <<<"$output" | grep -c '^[A-Z][A-Za-z]*/')
echo "bench-smoke: $count benchmarks and both frame-rate scripts ran"
