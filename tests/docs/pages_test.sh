#!/usr/bin/env bash
# README.md stays a page read in two minutes (at most 150 lines), and every relative link in it
# and in docs/*.md names a file of the repository, and every "#anchor" a heading of the page it
# points into (headings turned into anchors as GitHub does). Usage: pages_test.sh REPOSITORY_ROOT
set -euo pipefail
root=$1
failures=0

readme_lines=$(wc -l <"$root/README.md")
if [ "$readme_lines" -gt 150 ]; then
    echo "FAIL: README.md has $readme_lines lines; move reference material into docs/" >&2
    failures=$((failures + 1))
fi

anchors_of() {
    grep -E '^#{1,6} ' "$1" | sed -E 's/^#+ //' | tr 'A-Z' 'a-z' | sed -E 's/[^a-z0-9 _-]//g; s/ /-/g'
}

check_link() {
    local page=$1 target=$2 file anchor
    case $target in http://* | https://* | mailto:*) return 0 ;; esac
    file=${target%%#*}
    anchor=
    [ "$file" = "$target" ] || anchor=${target#*#}
    if [ -z "$file" ]; then
        file=$page
    else
        file=$(dirname "$page")/$file
    fi
    if [ ! -e "$file" ]; then
        echo "FAIL: ${page#"$root"/}: link to missing $target" >&2
        failures=$((failures + 1))
    elif [ -n "$anchor" ] && ! anchors_of "$file" | grep -qxF -- "$anchor"; then
        echo "FAIL: ${page#"$root"/}: no heading for #$anchor in ${file#"$root"/}" >&2
        failures=$((failures + 1))
    fi
}

links=0
for page in "$root/README.md" "$root"/docs/*.md; do
    # Links inside code blocks are examples, not links.
    while IFS= read -r target; do
        check_link "$page" "$target"
        links=$((links + 1))
    done < <(awk '/^```/ { code = !code; next } !code' "$page" |
             grep -oE '\]\([^) ]+\)' | sed -E 's/^\]\((.*)\)$/\1/')
done
[ "$links" -gt 20 ] || { echo "FAIL: only $links links found; is the parsing broken?" >&2; exit 1; }
[ "$failures" -eq 0 ] || exit 1
echo "ok: README.md has $readme_lines lines, $links links resolve"
