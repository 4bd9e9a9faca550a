#!/usr/bin/env bash
# The version comes from one place, the project() line of the build: both programs print it,
# and the package's metadata and change log carry it.
#   check-versions.sh VERSION PROGRAM TOOL PACKAGING-BUILD-FOLDER
set -uo pipefail
version=$1
program=$2
tool=$3
folder=$4
export QT_QPA_PLATFORM=offscreen

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

[[ $("$program" --version) == "quillmark $version" ]] ||
    fail "quillmark --version prints '$("$program" --version)', not 'quillmark $version'"
[[ $("$tool" --version) == "quillmark-tool $version" ]] ||
    fail "quillmark-tool --version prints '$("$tool" --version)'"
# Answered without a display or a home: no window-system connection is made for them.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb QUILLMARK_HOME=/nonexistent/home \
    "$program" --version >/dev/null 2>&1 || fail "quillmark --version needs a display"
"$program" --help | grep -q -- "--version" || fail "quillmark --help does not list --version"
# A version that could not be written is not reported as printed.
if [[ -w /dev/full ]]; then
    "$program" --version >/dev/full 2>/dev/null && fail "quillmark --version to a full disk exits 0"
fi
grep -q "<release version=\"$version\"" "$folder"/*.metainfo.xml ||
    fail "the AppStream metadata does not name release $version"
[[ $(head -n 1 "$folder/changelog") == "quillmark ($version) "* ]] ||
    fail "the change log starts '$(head -n 1 "$folder/changelog")'"

if [[ $failures -ne 0 ]]; then
    echo "$failures version checks failed"
    exit 1
fi
echo "version checks passed"
