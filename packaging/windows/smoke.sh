#!/usr/bin/env bash
# The Windows folder under Wine and Xvfb: tesmara.exe is a GUI program (no
# console window) that starts and opens its main window, and every operation
# window, filled in, generated and saved, writes the same bytes as the Linux build.
# Usage: smoke.sh ROOT WINDOWS_BUILD_DIR FOLDER
set -euo pipefail

root=$1
dir=$2
folder=$3
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    echo "windows smoke test: $*" >&2
    exit 1
}
winpath() {
    local path=${1//\//\\}
    echo "Z:$path"
}

x86_64-w64-mingw32-objdump -p "$folder/tesmara.exe" | grep -q 'Subsystem.*Windows GUI' ||
    fail "tesmara.exe is not linked as a GUI program"

# The reference: the Linux build's windows, saved.
"$root/dev" build
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/build/bin/tesmara-shots" "$work/linux" \
    "$root/tests/golden" >&2

export WINEPATH
WINEPATH=$(winpath "$folder")
export QT_PLUGIN_PATH
QT_PLUGIN_PATH=$(winpath "$folder")
xvfb-run -a -s "-screen 0 1280x1024x24" wine "$dir/bin/tesmara-shots.exe" \
    "$(winpath "$work/windows")" "$(winpath "$root/tests/golden")" >&2 ||
    fail "tesmara-shots.exe failed under Wine"
saved=0
for program in "$work"/linux/*.NC; do
    cmp "$program" "$work/windows/$(basename "$program")" || fail "$(basename "$program") differs"
    saved=$((saved + 1))
done
[ "$saved" -gt 0 ] || fail "no program was saved"
echo "windows smoke test: $saved saved programs equal to the Linux build's" >&2

# The program itself, as the operator starts it: its main window appears and
# its workspace is made.
unset WINEPATH QT_PLUGIN_PATH
mkdir "$work/workspace"
export TESMARA_WORKSPACE
TESMARA_WORKSPACE=$(winpath "$work/workspace")
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wine "$1/tesmara.exe" &
    timeout 120 xdotool search --sync --onlyvisible --name "^Tesmara$" >/dev/null
    found=$?
    wineserver -k
    exit $found' smoke "$folder" || fail "the main window of tesmara.exe did not appear"
[ "$(cat "$work/workspace/临时.NC")" = $'O100\r' ] || fail "tesmara.exe did not make its workspace"
echo "windows smoke test: tesmara.exe opened its main window" >&2
