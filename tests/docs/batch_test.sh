#!/usr/bin/env bash
# The commands of docs/batch.md, taken from the page itself so the two cannot drift, run on a
# folder of three captures, one of them broken: every good capture converted, the broken one
# named in one line and listed as failed without stopping the rest, and the right count said.
# Usage: batch_test.sh REPOSITORY_ROOT VOREL_IMPORT VOREL_RETARGET
set -euo pipefail
root=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/vorel-batch-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/captures"
ln -s "$2" "$work/bin/vorel-import"
ln -s "$3" "$work/bin/vorel-retarget"
export PATH="$work/bin:$PATH"

cp "$root/tests/data/third_party/cmu-93_03.bvh" "$work/captures/walk.bvh"
cp "$root/tests/data/bvh/every_channel_order.bvh" "$work/captures/every order.bvh"
head -c 400 "$root/tests/data/third_party/cmu-93_03.bvh" >"$work/captures/broken.bvh"

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# The page's sh blocks, in order.
blocks=$(awk '/^```sh$/ { inBlock = 1; block++; next } /^```$/ { inBlock = 0 }
              inBlock { print > (dir "/block-" block ".sh") } END { print block }' \
             dir="$work" "$root/docs/batch.md")
[ "$blocks" = 2 ] || { echo "FAIL: docs/batch.md has $blocks sh blocks, expected 2" >&2; exit 1; }

# check_block N RESULTS VERB FOLDER: runs block N and checks what it left.
check_block() {
    local block=$1 results=$2 verb=$3 folder=$4 summary
    summary=$(cd "$work" && sh "block-$block.sh" 2>"$work/errors-$block.txt")
    [ "$summary" = "2 of 3 captures $verb" ] || fail "block $block said '$summary'"
    [ "$(grep -c "^$verb: " "$work/$results")" = 2 ] || fail "$results: $(cat "$work/$results")"
    grep -qx "FAILED: captures/broken.bvh" "$work/$results" || fail "$results names no failure"
    grep -q "^captures/broken.bvh: " "$work/errors-$block.txt" ||
        fail "no line naming the broken capture: $(cat "$work/errors-$block.txt")"
    [ "$(wc -l <"$work/errors-$block.txt")" = 1 ] ||
        fail "more than the one line of the broken capture: $(cat "$work/errors-$block.txt")"
    for name in walk "every order"; do
        [ -f "$work/$folder/$name/vorel.txt" ] || fail "$folder/$name was not written"
        [ -s "$work/$folder/$name.log" ] || fail "$folder/$name.log holds no summary"
    done
    [ ! -e "$work/$folder/broken" ] || fail "the broken capture left $folder/broken behind"
}
check_block 1 imported.txt imported sets
check_block 2 retargeted.txt retargeted dancers
[ "$failures" -eq 0 ] || exit 1
echo "ok: both commands of docs/batch.md convert the good captures and name the broken one"
