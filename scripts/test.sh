#!/usr/bin/env bash
# Sets up, builds everything and the release, and runs every test: the native unit tests, then
# the Wine tests inside one Xvfb display, and the static audits of the 32-bit release programs
# and of the release zip (with the Wine tests where they run that build). Exits non-zero when
# anything fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" || exit 1
# The release in out/, which the release tests check as a user receives it.
"$root/scripts/release.sh" >/dev/null || exit 1

logs=()
status=0
run_ctest() { # log name, ctest command...
    local log=$root/build/$1-tests.log
    shift
    "$@" --output-on-failure | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    logs+=("$log")
}

run_ctest native ctest --test-dir "$root/build/native" -j "$(nproc)"
# The Wine tests run the build that this machine's Wine can start.
if [ "$("$root/scripts/wine-arch.sh")" = i686 ]; then
    run_ctest wine xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$root/build/win32" -j 2
else
    run_ctest wine xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$root/build/win64" -j 2
    run_ctest audit ctest --test-dir "$root/build/win32" -L audit
fi

summary() { grep -E '^[0-9]+% tests passed' "$1" | tail -n 1 | grep . || echo 0; }
count() { sed -nE "s/.* tests failed out of ([0-9]+).*/\1/p" "$1" | tail -n 1 | grep . || echo 0; }
failed() { sed -nE "s/.* ([0-9]+) tests failed out of.*/\1/p" "$1" | tail -n 1 | grep . || echo 0; }
skipped() { grep -c '(Skipped)$' "$1"; }
total=0 bad=0 skips=0
echo
for log in "${logs[@]}"; do
    echo "$(basename "$log" -tests.log): $(summary "$log")"
    total=$((total + $(count "$log"))) bad=$((bad + $(failed "$log")))
    skips=$((skips + $(skipped "$log")))
done
echo "$((total - bad - skips)) passed, $bad failed, $skips skipped"
exit "$status"
