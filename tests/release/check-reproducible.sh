#!/usr/bin/env bash
# Makes the release again in a clone of this checkout at another folder, with compiler, linker
# and make flags and zip's and unzip's option variables set against it, and compares the
# checksum files: the same commit must give the same bytes wherever it is built and whatever the
# caller's environment says. A checkout with changes not committed cannot be compared, since a
# clone would build another release: the test is skipped (77) then, and fails where the
# environment variable CI is set, as in .ci/run, where the comparison must be made.
# usage: check-reproducible.sh CHECKOUT
set -u
checkout=$1
version=$("$checkout/scripts/release-version.sh" "$checkout") || exit 1
sums=vellora9x-$version.sha256
[ -f "$checkout/out/$sums" ] || { echo "out/$sums is missing: run scripts/release.sh first"; exit 1; }
if [ -n "$(git -C "$checkout" status --porcelain)" ]; then
    echo "changes not committed: a clone would build another release"
    [ -n "${CI:-}" ] && { echo "CI is set: the release must be reproduced, so this fails"; exit 1; }
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q "$checkout" "$work/another/folder" || exit 1
# Each setting would change the programs' bytes, the zip's or the texts in it, were the release
# to heed it. zip reads ZIP only where ZIPOPT is unset: hence two releases.
for settings in "ZIP=-0 UNZIP=-a ZIPINFO=-l CXXFLAGS=-fno-inline-small-functions CFLAGS=-O0" \
    "ZIPOPT=-l UNZIPOPT=-aa ZIPINFOOPT=-l CPPFLAGS=-DNDEBUG LDFLAGS=-Wl,--no-gc-sections
     RCFLAGS=-DVELLORA_FILE_DESCRIPTION=x MAKEFLAGS=CXX_FLAGS=-O0"; do
    rm -rf "$work/another/folder/out"
    env $settings "$work/another/folder/scripts/release.sh" >/dev/null || exit 1
    if ! diff "$checkout/out/$sums" "$work/another/folder/out/$sums"; then
        echo "a release made at another folder with $settings differs"
        exit 1
    fi
done
echo "releases made at another folder with build flags and zip's and unzip's option variables" \
    "set are the same"
