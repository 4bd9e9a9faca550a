#!/usr/bin/env bash
# cmake --install into a fresh prefix lays out the programs beside their data folder, and a
# prefix that cannot be written to is refused by name before anything is copied.
#   check-install.sh BUILD-FOLDER
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "install into $prefix failed: $(cat "$work/install.log")"
for path in bin/quillmark bin/quillmark-tool share/quillmark/sysdata/LBLTPL.DBF \
    share/applications/io.github.quillmark.Quillmark.desktop share/man/man1/quillmark-tool.1.gz \
    share/icons/hicolor/48x48/apps/io.github.quillmark.Quillmark.png; do
    [[ -e $prefix/$path ]] || fail "the install lacks $path"
done
[[ -z $(find "$prefix" -name '.quillmark-install-check') ]] || fail "the write check left its mark"
# The installed tool finds the installed data folder (share/quillmark beside bin/).
env -u QM_DATA_DIR QUILLMARK_HOME="$work/home" QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/quillmark-tool" print templates >/dev/null 2>&1 ||
    fail "the installed tool does not find its templates"

# A prefix below a plain file: no folder can be made there, whoever installs.
touch "$work/file"
cmake --install "$build" --prefix "$work/file/prefix" >"$work/refused.log" 2>&1 &&
    fail "the install below a file succeeded"
# CMake wraps its messages: the words are compared with the lines joined.
joined() { tr -s ' \n' '  ' <"$1"; }
[[ $(joined "$work/refused.log") == *"Cannot install Quillmark into $work/file/prefix: $work/file is not a folder"* ]] ||
    fail "the refusal does not name the folders: $(cat "$work/refused.log")"

# The same for an ordinary user and a folder owned by root, where this machine allows the switch.
if [[ $(id -u) -eq 0 ]] && command -v setpriv >/dev/null; then
    mkdir -m 755 "$work/root-only"
    chmod 755 "$work"
    if setpriv --reuid=nobody --regid=nogroup --clear-groups \
        cmake --install "$build" --prefix "$work/root-only/prefix" >"$work/user.log" 2>&1; then
        fail "an ordinary user installed into a folder owned by root"
    fi
    [[ $(joined "$work/user.log") == *"$work/root-only is not a folder this user can write to"* ]] ||
        fail "the refusal for an ordinary user does not name the folder: $(cat "$work/user.log")"
    [[ -z $(ls -A "$work/root-only") ]] || fail "the refused install wrote into $work/root-only"
fi

if [[ $failures -ne 0 ]]; then
    echo "$failures install checks failed"
    exit 1
fi
echo "install checks passed"
