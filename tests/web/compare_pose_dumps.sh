#!/usr/bin/env bash
# compare_pose_dumps.sh NATIVE_DUMP WASM_DUMP_JS MANIFEST: runs the pose dump natively and, the
# WebAssembly build, under Node, and fails at the first frame whose skinned mesh differs.
set -euo pipefail
native_dump=$1 wasm_dump=$2 manifest=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$native_dump" "$manifest" >"$work/native.txt"
node --no-experimental-fetch "$wasm_dump" "$manifest" >"$work/wasm.txt"
frames=$(wc -l <"$work/native.txt")
if [ "$frames" -lt 1000 ]; then
  echo "the native dump has only $frames frames" >&2
  exit 1
fi
if ! diff -q "$work/native.txt" "$work/wasm.txt" >/dev/null; then
  echo "the WebAssembly runtime differs from the native one; first differing frame:" >&2
  diff "$work/native.txt" "$work/wasm.txt" | head -4 >&2
  exit 1
fi
echo "$frames frames: skinned positions and normals bit-identical"
