#!/usr/bin/env bash
# The main job: sets up, builds, starts the host under Wine in a prefix of its own and shows
# that the driver can reach its window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" != --in-display ]; then
    "$root/scripts/setup.sh"
    "$root/scripts/build.sh" >/dev/null
    exec xvfb-run -a "$0" --in-display
fi

source "$root/scripts/wine-env.sh"
export WINEPREFIX=$root/build/demo-prefix
"$WINELOADER" wineboot -i >/dev/null 2>&1
"$WINELOADER" "$VELLORA_BIN/VelloraH.exe" &
status=0
"$WINELOADER" "$VELLORA_BIN/HostProbe.exe" || status=$?
wineserver -k
exit $status
