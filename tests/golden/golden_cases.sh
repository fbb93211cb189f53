# Sourced by the golden-image test and by scripts/update-golden, so both draw each case the
# same way: for_each_golden_case CALLBACK calls CALLBACK IMAGE FRAME DANCE for each line of
# cases.txt, and render_golden_case RENDER MANIFEST FRAME DANCE OUT_PNG draws one.

golden_folder=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

for_each_golden_case() {
    local callback=$1 image frame dance
    while read -r image frame dance; do
        case "$image" in '' | '#'*) continue ;; esac
        "$callback" "$image" "$frame" "$dance"
    done <"$golden_folder/cases.txt"
}

render_golden_case() {
    local render=$1 manifest=$2 frame=$3 dance=$4 out=$5 scratch
    local dance_options=()
    [ "$dance" = "-" ] || dance_options=(--dance "$dance")
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/vorel-golden.XXXXXX")
    local status=0
    "$render" --frames "$frame" "${dance_options[@]}" --output "$scratch" "$manifest" &&
        mv "$scratch/frame-$(printf '%04d' "$frame").png" "$out" || status=$?
    rm -rf "$scratch"
    return "$status"
}
