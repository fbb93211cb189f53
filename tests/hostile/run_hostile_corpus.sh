#!/bin/sh
# run_hostile_corpus.sh MAKER WRITE_TEST_GLTF IMPORT INSPECT RETARGET WORK MEMORY SEED
# Makes the hostile corpus of one seed (a file, or arm.glb / arm.gltf written here) and runs
# every file through vorel-import, vorel-inspect check and vorel-retarget, each within 20 s and
# 2 GiB (MEMORY "asan": through ASan's own limit, since ASan reserves more address space than
# that). A run passes when it exits 0 with a set that vorel-inspect checks, or 1 with one line
# naming the file; it fails on a crash, a hang, a usage error, a leftover folder.
set -u
maker=$1 writer=$2 import=$3 inspect=$4 retarget=$5 work=$6 memory=$7 seed=$8
name=$(basename "$seed")
rm -rf "$work" && mkdir -p "$work/corpus" "$work/out" || exit 1
case "$seed" in
  */*) ;;
  *) "$writer" "$work/arm" >/dev/null || exit 1
     cp "$work/arm/arm.bin" "$work/corpus/arm.bin"
     seed="$work/arm/$seed" ;;
esac
"$maker" "$work/corpus" "$seed" || exit 1
case "$name" in
  RobotExpressive*) animation=Dance ;;
  *) animation=Wave ;;
esac
if [ "$memory" = asan ]; then
  export ASAN_OPTIONS="hard_rss_limit_mb=2048:detect_leaks=1"
  limit=""
else
  limit="ulimit -v 2097152;"
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run TOOL FILE COMMAND...: one limited run; leaves its status in $status and output in $work.
run() {
  sh -c "$limit exec timeout 20 \"\$@\"" sh "$@" >"$work/stdout" 2>"$work/stderr"
  status=$?
}

# The folder holds nothing but what a finished run wrote.
check_leftovers() {
  leftover=$(ls -A "$work/out" | grep -v '^set$')
  [ -z "$leftover" ] || fail "$1: left $leftover behind"
  rm -rf "$work/out/set"
}

# One line naming the file on stderr, or a set the checker passes.
check_outcome() {
  tool=$1 file=$2
  case $status in
    0) run "$inspect" check "$work/out/set/vorel.txt"
       [ $status -eq 0 ] || fail "$tool $file: its set does not pass check: $(head -c 300 "$work/stdout")" ;;
    1) lines=$(wc -l <"$work/stderr")
       [ "$lines" -eq 1 ] && head -c ${#file} "$work/stderr" | grep -qxF "$file" ||
         fail "$tool $file: refusal is not one line naming it: $(head -c 300 "$work/stderr")" ;;
    *) fail "$tool $file: exit status $status: $(head -c 300 "$work/stderr")" ;;
  esac
}

count=0
for file in "$work"/corpus/*; do
  case "$file" in *.bin) continue ;; esac
  count=$((count + 1))
  run "$import" "$file" "$work/out/set"
  check_outcome vorel-import "$file"
  check_leftovers "vorel-import $file"

  run "$inspect" check "$file"
  case $status in
    0|1) grep -qvF "$file: " "$work/stdout" && fail "vorel-inspect $file: a line not naming it" ;;
    *) fail "vorel-inspect $file: exit status $status: $(head -c 300 "$work/stderr")" ;;
  esac

  case "$file" in
    *.bvh) run "$retarget" "$file" "$work/out/set" ;;
    *) run "$retarget" --animation "$animation" "$file" "$work/out/set" ;;
  esac
  check_outcome vorel-retarget "$file"
  check_leftovers "vorel-retarget $file"
done
echo "$name: $count hostile files through three tools, $failures failures"
rm -rf "$work"
[ $failures -eq 0 ]
