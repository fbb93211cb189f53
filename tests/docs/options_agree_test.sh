#!/usr/bin/env bash
# Each tool's --help, its manual page (docs/man/TOOL.1) and its section of docs/tools.md name
# the same set of options, so none of the three can gain or lose one alone; and every manual
# page renders with man -l, without a warning from groff.
# Usage: options_agree_test.sh REPOSITORY_ROOT TOOL_BINARY...
set -euo pipefail
root=$1
shift
failures=0
options_seen=0

# The options a line of text names: words starting with one or two dashes and a letter.
option_words() {
    grep -oE '(^|[ ,"`])--?[a-z][a-z-]*' | sed -E 's/^[ ,"`]//' | grep -vxE -- '-h|--help' || true
}

# --help: the option lines are those whose first word starts with '-'; an option's own words end
# at the first run of two spaces, where its description begins.
help_options() {
    "$1" --help | { grep -E '^ +-' || true; } | sed -E 's/^ +//; s/  .*//' | option_words | sort -u
}

# The manual page: the tag line after each .TP of the OPTIONS section.
man_options() {
    awk '/^\.SH / { inOptions = ($2 == "OPTIONS") } inOptions && tag { print; tag = 0 }
         inOptions && /^\.TP/ { tag = 1 }' "$1" | sed 's/\\-/-/g' | option_words | sort -u
}

# docs/tools.md: the list items of the tool's section that start with an option in backticks,
# up to the colon that begins the description.
doc_options() {
    awk -v heading="## \`$1" 'index($0, "## ") == 1 { inTool = (index($0, heading) == 1) }
         inTool && /^- `-/' "$root/docs/tools.md" | sed -E 's/`: .*//' | option_words | sort -u
}

for tool in "$@"; do
    name=$(basename "$tool")
    page=$root/docs/man/$name.1
    if [ ! -f "$page" ]; then
        echo "FAIL: $name has no manual page docs/man/$name.1" >&2
        failures=$((failures + 1))
        continue
    fi
    if ! grep -q "^## \`$name" "$root/docs/tools.md"; then
        echo "FAIL: docs/tools.md has no section for $name" >&2
        failures=$((failures + 1))
        continue
    fi
    help=$(help_options "$tool")
    man=$(man_options "$page")
    doc=$(doc_options "$name")
    if [ "$help" != "$man" ] || [ "$help" != "$doc" ]; then
        echo "FAIL: $name: the options disagree" >&2
        echo "  --help:        $(echo $help)" >&2
        echo "  man page:      $(echo $man)" >&2
        echo "  docs/tools.md: $(echo $doc)" >&2
        failures=$((failures + 1))
    else
        echo "ok: $name: $(echo $help)"
    fi
    options_seen=$((options_seen + $(printf '%s' "$help" | grep -c . || true)))
done
for page in "$root"/docs/man/*.1; do
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$page" 2>&1 >/dev/null || true)
    rendered=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$page" 2>/dev/null || true)
    if [ -n "$warnings" ] || [[ $rendered != *NAME* ]]; then
        echo "FAIL: ${page#"$root"/} does not render cleanly: $warnings" >&2
        failures=$((failures + 1))
    fi
done
# The viewer reads no options: its page has keys instead.
if [ ! -f "$root/docs/man/vorel.1" ] || grep -q '^\.SH OPTIONS' "$root/docs/man/vorel.1"; then
    echo "FAIL: docs/man/vorel.1 is missing or lists options the viewer does not take" >&2
    failures=$((failures + 1))
fi
[ "$options_seen" -ge 20 ] || { echo "FAIL: only $options_seen options found; is the parsing broken?" >&2; exit 1; }
[ "$failures" -eq 0 ]
