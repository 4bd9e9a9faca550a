#!/usr/bin/env bash
# Renders the built manual pages as man does and checks that groff has nothing to warn about and
# that each page shows every line of its program's --help texts: the tool's page every command
# and every verb with its own help.
#   check-manpages.sh MAN-FOLDER PROGRAM TOOL VERSION
set -uo pipefail
folder=$1
program=$2
tool=$3
version=$4
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLMARK_HOME=$work/home

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# render NAME: the page as man shows it on an 80-column terminal, blanks squeezed, one line each.
render()
{
    local page=$folder/$1.1.gz
    if ! MANWIDTH=80 MAN_KEEP_FORMATTING= man --warnings -E UTF-8 -l "$page" \
        >"$work/$1.txt" 2>"$work/$1.warnings"; then
        fail "man could not show $page"
    fi
    if [[ -s $work/$1.warnings ]]; then
        fail "groff warns about $page:"
        cat "$work/$1.warnings"
    fi
    sed -e 's/^ *//' -e 's/ *$//' -e 's/  */ /g' "$work/$1.txt" >"$work/$1.lines"
}

# expect_help NAME ARGS...: every line of the help of ARGS stands on a line of page NAME.
expect_help()
{
    local name=$1 line missing=0
    shift
    local help
    help=$("$@" --help) || {
        fail "$* --help failed"
        return
    }
    while IFS= read -r line; do
        line=$(sed -e 's/^ *//' -e 's/ *$//' -e 's/  */ /g' <<<"$line")
        [[ -z $line ]] && continue
        if ! grep -qxF -- "$line" "$work/$name.lines"; then
            ((missing++ < 3)) && fail "$name(1) lacks a line of '$(basename "$1") ${*:2} --help': $line"
        fi
    done <<<"$help"
}

for name in quillmark quillmark-tool; do
    render "$name"
    grep -q "Quillmark $version" "$work/$name.txt" || fail "$name(1) does not show version $version"
done

expect_help quillmark "$program"
expect_help quillmark-tool "$tool"
mapfile -t commands < <("$tool" --help | awk '/^Commands:/ { on = 1; next }
    on && /^  [a-z]/ { print $1 }')
[[ ${#commands[@]} -ge 10 ]] || fail "the tool's --help lists only ${#commands[@]} commands"
for command in "${commands[@]}"; do
    grep -qx "$command" "$work/quillmark-tool.lines" || fail "quillmark-tool(1) has no section $command"
    expect_help quillmark-tool "$tool" "$command"
    # Verbs with a help of their own ("quillmark-tool print labels ... (see --help)").
    mapfile -t verbs < <("$tool" "$command" --help |
        sed -n "s/.*quillmark-tool $command \([a-z|-]*\) .*(see --help).*/\1/p" | tr '|' '\n')
    for verb in "${verbs[@]}"; do
        grep -qx "$command $verb" "$work/quillmark-tool.lines" ||
            fail "quillmark-tool(1) has no section '$command $verb'"
        expect_help quillmark-tool "$tool" "$command" "$verb"
    done
done

# Options copy from the page as typed: a real hyphen-minus, not a typographic dash.
grep -q -- "--template NAME" "$work/quillmark-tool.txt" ||
    fail "quillmark-tool(1) does not show '--template NAME' with plain hyphens"

if [[ $failures -ne 0 ]]; then
    echo "$failures manual page checks failed"
    exit 1
fi
echo "manual page checks passed"
