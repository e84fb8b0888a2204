#!/usr/bin/env bash
# Builds the native logic with its unit tests (build/native), the 32-bit Windows programs
# (build/win32) and, where this machine's Wine runs only 64-bit programs, the same sources
# for x86_64 (build/win64) to run the Wine tests on.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

configure_and_build() { # build folder, extra cmake arguments...
    local folder=$1
    shift
    cmake -S "$root" -B "$root/build/$folder" "$@" >/dev/null
    cmake --build "$root/build/$folder" -j "$jobs"
}

configure_and_build native -DCMAKE_BUILD_TYPE=Debug
configure_and_build win32 -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
if [ "$("$root/scripts/wine-arch.sh")" = x86_64 ]; then
    configure_and_build win64 -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake"
fi
