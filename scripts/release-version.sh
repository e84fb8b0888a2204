#!/usr/bin/env bash
# Prints the version that a release of the checkout carries: the version in the top
# CMakeLists.txt, marked "-uncommitted" while the checkout has changes that are not committed
# (files changed, or new files git does not ignore), so that such a build never passes as the
# release of the commit. scripts/release.sh and the release tests ask it alike.
# usage: release-version.sh CHECKOUT
set -euo pipefail
checkout=$1
version=$(sed -n 's/^project(Vellora9x VERSION \([0-9.]*\) .*/\1/p' "$checkout/CMakeLists.txt")
[ -n "$version" ] || { echo "release-version.sh: no version in $checkout/CMakeLists.txt" >&2; exit 1; }
changes=$(git -C "$checkout" status --porcelain) || exit 1
echo "$version${changes:+-uncommitted}"
