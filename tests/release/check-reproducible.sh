#!/usr/bin/env bash
# Makes the release again in a clone of this checkout at another folder, with zip's and unzip's
# option variables set against it, and compares the checksum files: the same commit must give the
# same bytes wherever it is built and whatever those variables say. Skipped (77) where the
# checkout has uncommitted changes, which a clone would not have.
# usage: check-reproducible.sh CHECKOUT VERSION
set -u
checkout=$1 version=$2
sums=vellora9x-$version.sha256
[ -f "$checkout/out/$sums" ] || { echo "out/$sums is missing: run scripts/release.sh first"; exit 1; }
if [ -n "$(git -C "$checkout" status --porcelain --untracked-files=no)" ]; then
    echo "uncommitted changes: a clone would build another release"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone -q "$checkout" "$work/another/folder" || exit 1
# Each setting would change the zip's bytes or the texts in it, were the release to heed it. zip
# reads ZIP only where ZIPOPT is unset: hence two releases.
for settings in "ZIP=-0 UNZIP=-a ZIPINFO=-l" "ZIPOPT=-l UNZIPOPT=-aa ZIPINFOOPT=-l"; do
    rm -rf "$work/another/folder/out"
    env $settings "$work/another/folder/scripts/release.sh" >/dev/null || exit 1
    if ! diff "$checkout/out/$sums" "$work/another/folder/out/$sums"; then
        echo "a release made at another folder with $settings differs"
        exit 1
    fi
done
echo "releases made at another folder with zip's and unzip's option variables set are the same"
