#!/usr/bin/env bash
# Drives the bash completion of quillmark-tool as bash would, against the built tool and a fresh
# program home, and checks what it offers.
#   check-completion.sh COMPLETION-FILE TOOL-FOLDER
set -uo pipefail
completion=$1
export PATH=$(cd "$2" && pwd):$PATH

# shellcheck source=/dev/null
source /usr/share/bash-completion/bash_completion || exit 2
# shellcheck source=/dev/null
source "$completion" || exit 2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QUILLMARK_HOME=$work/home
export QT_QPA_PLATFORM=offscreen
mkdir -p "$QUILLMARK_HOME/sysdata"
cd "$work" || exit 2

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Completes at the end of the given words, the last being the word under the cursor; the words
# are passed one per argument, so they may hold blanks and quotes as typed.
complete_words()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _quillmark_tool quillmark-tool "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
}

# expect_offer WORDS... :: CANDIDATE...: every candidate is offered.
expect_offer()
{
    local words=() candidate offered
    while [[ $1 != :: ]]; do
        words+=("$1")
        shift
    done
    shift
    complete_words "${words[@]}"
    for candidate in "$@"; do
        for offered in "${COMPREPLY[@]}"; do
            [[ $offered == "$candidate" ]] && continue 2
        done
        fail "'${words[*]}' does not offer '$candidate' (offers: ${COMPREPLY[*]})"
    done
}

# expect_none WORDS... :: CANDIDATE...: no candidate is offered.
expect_none()
{
    local words=() candidate offered
    while [[ $1 != :: ]]; do
        words+=("$1")
        shift
    done
    shift
    complete_words "${words[@]}"
    for candidate in "$@"; do
        for offered in "${COMPREPLY[@]}"; do
            [[ $offered == "$candidate" ]] && fail "'${words[*]}' offers '$candidate'"
        done
    done
}

# Commands and verbs: every command of the tool's --help, and only those starting as typed.
mapfile -t commands < <(quillmark-tool --help | awk '/^Commands:/ { on = 1; next }
    on && /^  [a-z]/ { print $1 }')
[[ ${#commands[@]} -ge 10 ]] || fail "the tool's --help lists only ${#commands[@]} commands"
expect_offer quillmark-tool "" :: "${commands[@]}" --help --version
expect_offer quillmark-tool pr :: print presort
expect_none quillmark-tool pr :: table report
expect_offer quillmark-tool print "" :: templates labels envelopes letters report zipcount record
expect_offer quillmark-tool table "" :: info dump count seek create index append-csv reindex pack \
    zap check
expect_offer quillmark-tool check "" :: duplicates state-zip
expect_offer quillmark-tool edit "" :: case delete replace
expect_offer quillmark-tool letters "" :: list export import spell
expect_offer quillmark-tool report "" :: list show clone delete
expect_offer quillmark-tool pages "" :: dump render

# Options come from the help of the verb on the line.
expect_offer quillmark-tool print labels --te :: --template
expect_offer quillmark-tool print labels -- :: --table --template --label --layout --presort \
    --positions --copies --list --pdf --stream
expect_none quillmark-tool print labels -- :: --envelope --letter
expect_offer quillmark-tool print envelopes -- :: --envelope --feed --size
expect_offer quillmark-tool export A.DBF -- :: --csv --dbf --overwrite --encoding
expect_offer quillmark-tool edit case A.DBF --t :: --to

# Fixed choices, each one the tool accepts.
expect_offer quillmark-tool print templates --maker "" :: 'Avery\ Laserjet' 'Avery\ Inkjet' \
    'Avery\ Dot\ Matrix' 'Costar\ LabelPrinter'
for maker in "${COMPREPLY[@]}"; do
    quillmark-tool print templates --maker "$(dequote "$maker")" --product All >/dev/null 2>&1
    [[ $? -eq 2 ]] && fail "the tool refuses the offered maker $maker"
done
complete_words quillmark-tool print templates --product ""
[[ ${#COMPREPLY[@]} -eq 7 ]] || fail "--product offers ${#COMPREPLY[@]} items, not 7"
for product in "${COMPREPLY[@]}"; do
    quillmark-tool print templates --product "$(dequote "$product")" >/dev/null 2>&1
    [[ $? -eq 2 ]] && fail "the tool refuses the offered product $product"
done
expect_offer quillmark-tool edit case A.DBF --to "" :: upper lower proper
expect_offer quillmark-tool check duplicates A.DBF --by "" :: name initial street

# Label sheet templates (of every maker), with their blanks escaped or inside an opened quote.
expect_offer quillmark-tool print labels --template 'Avery\ 516' :: 'Avery\ 5160\ \ Address'
expect_offer quillmark-tool print labels --template '"Avery 5160' :: '"Avery 5160  Address"'
complete_words quillmark-tool print labels --template ""
[[ ${#COMPREPLY[@]} -gt 100 ]] || fail "--template offers only ${#COMPREPLY[@]} templates"

# Names kept in the program home: letters, label and envelope layouts, reports.
printf '{\\rtf1 Dear [Full Name]\\par}' >letter.rtf
quillmark-tool letters import letter.rtf --description "Spring Sale" >/dev/null ||
    fail "letters import failed"
expect_offer quillmark-tool print letters --letter Sp :: 'Spring\ Sale'
expect_offer quillmark-tool letters export "" :: 'Spring\ Sale'
expect_offer quillmark-tool letters spell Spr :: 'Spring\ Sale'

sysdata=$QUILLMARK_HOME/sysdata
make_table()
{
    local file=$1 fields=$2 rows=$3
    quillmark-tool table create "$file" "$fields" >/dev/null &&
        printf '%s' "$rows" >"$work/rows.csv" &&
        quillmark-tool table append-csv "$file" "$work/rows.csv" >/dev/null ||
        fail "could not make $file"
}
make_table "$sysdata/label.dbf" "DESCRIPT C 60,DELETED L,BINARY C 12" \
    $'Club members,F,BIN00001.L\n"Old, unused",T,BIN00002.L\nRound stickers,F,BIN00003.L\n'
quillmark-tool table index "$sysdata/label.dbf" DESCRIPT "UPPER(DESCRIPT)" >/dev/null
expect_offer quillmark-tool print labels --label "" :: 'Club\ members' 'Round\ stickers'
expect_none quillmark-tool print labels --label "" :: 'Old\,\ unused'
make_table "$sysdata/ENVELOPE.DBF" "DESCRIPT C 60,NUMBER N 5,BINARY C 12" \
    $'"Invoice, #10",20,BIN00001.E\n'
# No DESCRIPT tag: the rows are still listed.
expect_offer quillmark-tool print envelopes --envelope "" :: 'Invoice\,\ #10'
make_table "$sysdata/REPORT.DBF" "DESCRIPT C 60,LAYOUT C 60,BINARY C 12" \
    $'Phone list,Letter,BIN00001.R\n'
expect_offer quillmark-tool print report --design Ph :: 'Phone\ list'
expect_offer quillmark-tool report clone "" :: 'Phone\ list'

# Index tags of the address file on the line, and files of the right kind.
printf 'Smith,John\nJones,Mary\n' >people.csv
quillmark-tool import "$work/ADDR.DBF" --new --csv people.csv --map "1=Last Name,2=First Name" \
    >/dev/null || fail "import failed"
expect_offer quillmark-tool print labels --table ADDR.DBF --order LN :: LNAME
expect_offer quillmark-tool table dump ADDR.DBF --tag Z :: ZIP
expect_offer quillmark-tool print labels --table "" :: ADDR.DBF
expect_none quillmark-tool print labels --table "" :: people.csv letter.rtf
expect_offer quillmark-tool table info "" :: ADDR.DBF
expect_offer quillmark-tool print labels --pdf "" :: home

if [[ $failures -ne 0 ]]; then
    echo "$failures completion checks failed"
    exit 1
fi
echo "completion checks passed"
