#!/usr/bin/env bash
# vorel-render's frames of the default dancer against the committed golden images, pixel for
# pixel (see tests/golden/README.md). Usage: golden_test.sh VOREL_RENDER DANCER_FOLDER
set -euo pipefail
render=$1
manifest=$2/vorel.txt
source "$(dirname "$0")/../golden/golden_cases.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/vorel-golden-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

check_case() {
    local image=$1 differing
    render_golden_case "$render" "$manifest" "$2" "$3" "$work/$image"
    # compare prints the number of differing pixels on stderr; 0 is the only pass.
    differing=$(compare -metric AE "$work/$image" "$golden_folder/$image" null: 2>&1 || true)
    if [ "$differing" = "0" ]; then
        echo "ok: $image"
    else
        echo "FAIL: $image: $differing pixels differ from tests/golden/$image" >&2
        failures=$((failures + 1))
    fi
}
for_each_golden_case check_case
[ "$failures" -eq 0 ] || {
    echo "After a deliberate change, regenerate with scripts/update-golden BUILD_DIR." >&2
    exit 1
}
