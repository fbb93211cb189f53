#!/usr/bin/env bash
# A long vorel-render run on a terminal shows one updating progress line on standard error; the
# same run with its output redirected prints exactly its summary, with not a byte of progress.
# Usage: progress_test.sh VOREL_RENDER DANCER_FOLDER
set -euo pipefail
render=$1
manifest=$2/vorel.txt
work=$(mktemp -d "${TMPDIR:-/tmp}/vorel-progress-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
# Enough frames to take well over the second after which the line appears.
command=("$render" -f 1-240 -d Cancan@1 --scale 1/4 --gif "$work/dance.gif" "$manifest")

"${command[@]}" >"$work/out" 2>"$work/err"
if [ -s "$work/err" ]; then
    echo "FAIL: redirected standard error is not empty:" >&2
    od -c "$work/err" | head >&2
    exit 1
fi
expected="$work/dance.gif: 240 frames of 160x120,"
if [ "$(wc -l <"$work/out")" -ne 1 ] || ! grep -q "^$expected" "$work/out" ||
    LC_ALL=C grep -q $'[\r\x1b]' "$work/out"; then
    echo "FAIL: redirected standard output is not the one summary line:" >&2
    od -c "$work/out" | head >&2
    exit 1
fi

# On a pseudo-terminal (script keeps its own transcript of what the terminal showed).
start=$SECONDS
script -qec "$(printf '%q ' "${command[@]}")" /dev/null >"$work/terminal"
elapsed=$((SECONDS - start))
if ! grep -q 'vorel-render: drawing frame [0-9]* of 240, [0-9]* s' "$work/terminal"; then
    echo "FAIL: no progress line on the terminal after a run of $elapsed s:" >&2
    od -c "$work/terminal" | head -20 >&2
    exit 1
fi
# What stays on the screen: each progress line erased, then the summary the redirected run printed.
# A line reads as what follows its last erase.
shown=$(LC_ALL=C sed -E $'s/.*\r\x1b\\[K//; s/\r$//' "$work/terminal")
if [ "$shown" != "$(cat "$work/out")" ]; then
    echo "FAIL: once the progress line is erased, the terminal shows something else:" >&2
    printf '%s\n' "$shown" | od -c | head >&2
    exit 1
fi
echo "ok: progress on the terminal, none when redirected"
