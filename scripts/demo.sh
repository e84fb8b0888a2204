#!/usr/bin/env bash
# The main job: sets up, builds, starts the host under Wine in a prefix of its own and shows
# that the driver can reach its window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh"
"$root/scripts/build.sh" >/dev/null

export WINEPREFIX=$root/build/demo-prefix WINEDEBUG=-all
bin=$root/build/win32/bin

run_demo() {
    wineboot -i >/dev/null 2>&1
    wine "$bin/VelloraH.exe" &
    wine "$bin/HostProbe.exe"
    status=$?
    wineserver -k
    return $status
}
export -f run_demo
export bin
xvfb-run -a bash -c run_demo
