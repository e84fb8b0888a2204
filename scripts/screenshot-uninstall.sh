#!/usr/bin/env bash
# Takes the README's pictures of the uninstaller under Xvfb: its dialog, and the log of a
# complete run on an installation that the setup tool has made. Writes
# docs/uninstall-dialog.png and docs/uninstall-log.png. Uses a Wine prefix of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --in-display ]; then
    "$root/scripts/setup.sh"
    "$root/scripts/build.sh" >/dev/null
    exec xvfb-run -a -s "-screen 0 800x600x24" "$0" --in-display
fi

source "$root/scripts/wine-env.sh"
export WINEPREFIX=$root/build/screenshot-prefix
run() { "$WINELOADER" "$@"; }
caption="Vellora 9x uninstall"

wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
run wineboot -i >/dev/null 2>&1
# No window manager runs under Xvfb: in a virtual desktop Wine draws frames and captions itself.
run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
# The desktop that wineboot started has no such setting: the next program starts a new one.
wineserver -k

run "$VELLORA_BIN/VlSetup.exe" install --start-host >/dev/null 2>&1
run "$VELLORA_BIN/Uninstall.exe" &
uninstaller=$!

frame=$(run "$VELLORA_BIN/VlWindow.exe" wait "$caption")
import -window root -crop "$frame" +repage "$root/docs/uninstall-dialog.png"
run "$VELLORA_BIN/VlWindow.exe" press "$caption" 1

frame=$(run "$VELLORA_BIN/VlWindow.exe" wait-box "$caption")
import -window root -crop "$frame" +repage "$root/docs/uninstall-log.png"
run "$VELLORA_BIN/VlWindow.exe" press "$caption" 1

status=0
wait "$uninstaller" || status=$?
wineserver -k
echo "docs/uninstall-dialog.png and docs/uninstall-log.png written; the uninstaller ended with $status"
