#!/usr/bin/env bash
# Sets up, builds everything and runs every test: the native unit tests, then the Wine tests
# inside one Xvfb display. Exits non-zero when anything fails.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" || exit 1

summary() { grep -E '^[0-9]+% tests passed' "$1" | tail -n 1; }
native_log=$root/build/native-tests.log
wine_log=$root/build/wine-tests.log

ctest --test-dir "$root/build/native" --output-on-failure -j "$(nproc)" | tee "$native_log"
native_status=${PIPESTATUS[0]}
# The Wine tests run the build that this machine's Wine can start.
if [ "$("$root/scripts/wine-arch.sh")" = i686 ]; then wine_build=win32; else wine_build=win64; fi
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$root/build/$wine_build" --output-on-failure -j 2 | tee "$wine_log"
wine_status=${PIPESTATUS[0]}

count() { sed -nE "s/.* tests failed out of ([0-9]+).*/\1/p" "$1" | tail -n 1; }
failed() { sed -nE "s/.* ([0-9]+) tests failed out of.*/\1/p" "$1" | tail -n 1; }
native_total=$(count "$native_log") wine_total=$(count "$wine_log")
native_failed=$(failed "$native_log") wine_failed=$(failed "$wine_log")
total=$(( ${native_total:-0} + ${wine_total:-0} ))
bad=$(( ${native_failed:-0} + ${wine_failed:-0} ))
echo
echo "native: $(summary "$native_log")"
echo "wine:   $(summary "$wine_log")"
echo "$((total - bad)) passed, $bad failed"
[ "$native_status" -eq 0 ] && [ "$wine_status" -eq 0 ]
