#!/usr/bin/env bash
# Takes the README's picture of the properties dialog under Xvfb, as it opens without a
# settings file, and writes docs/properties-dialog.png. Uses a Wine prefix of its own.
#
# usage: screenshot-properties.sh [PROGRAM_FOLDER]
# Without PROGRAM_FOLDER it sets up and builds first and takes the build that this machine's
# Wine runs; with it, it takes VlExProp.exe and VlWindow.exe from that folder as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --in-display ]; then
    if [ $# -eq 0 ]; then
        "$root/scripts/setup.sh"
        "$root/scripts/build.sh" >/dev/null
    fi
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" --in-display "$@"
fi
shift

source "$root/scripts/wine-env.sh"
bin=$(cd "${1:-$VELLORA_BIN}" && pwd)
WINEPREFIX=$(mktemp -d /tmp/vellora-properties-screenshot.XXXXXX)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
run() { "$WINELOADER" "$@"; }
caption="Vellora 9x Advanced Properties"

run wineboot -i >/dev/null 2>&1
# No window manager runs under Xvfb: in a virtual desktop Wine draws frames and captions itself.
run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
# The desktop that wineboot started has no such setting: the next program starts a new one.
wineserver -k

run "$bin/VlExProp.exe" &
program=$!
frame=$(run "$bin/VlWindow.exe" wait "$caption")
import -window root -crop "$frame" +repage "$root/docs/properties-dialog.png"
run "$bin/VlWindow.exe" press "$caption" 2
wait "$program"
echo "docs/properties-dialog.png written"
