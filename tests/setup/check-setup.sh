#!/usr/bin/env bash
# scripts/setup.sh against stand-ins, no network: an index update that keeps failing with packages
# that resolve only with the base release as target, then nothing resolving, then all working.
# usage: check-setup.sh SETUP_SCRIPT
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in apt-get dpkg dpkg-query locale locale-gen sleep; do
    ln -s "$(cd "$(dirname "$0")" && pwd)/stand-in.sh" "$work/$tool"
done
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
export STAND_IN_LOG=$work/calls status=0
expect() { eval "$2" || { echo "FAILED with '$STAND_IN_FAILS': $1"; status=1; }; }
calls() { grep -c -- "^$1" "$STAND_IN_LOG"; }
run_setup() { # the apt-get steps that fail
    export STAND_IN_FAILS=$1
    rm -f "$STAND_IN_LOG"*
    PATH=$work:$PATH "$setup" >/dev/null 2>"$work/err"
    exit_code=$?
}
setup=$1
run_setup "update install"
expect "exit 0, 3 updates, 2 pauses" '[ "$exit_code-$(calls "apt-get update")-$(calls "sleep 10")" = 0-3-2 ]'
expect "installed with -t $release" 'calls "apt-get install -y -qq -t $release [^-]" >/dev/null'
run_setup "update install install-target"
expect "exit 1, two lines" '[ "$exit_code-$(grep -vc "^E:" "$work/err")" = 1-2 ]'
expect "only downloads tried" '[ "$(calls "apt-get install")" = "$(calls ".*--download-only")" ]'
expect "i386 added and removed" '[ ! -e "$STAND_IN_LOG.i386" ] && calls "dpkg --remove" >/dev/null'
run_setup ""
expect "exit 0 at once, no target release" '[ $exit_code = 0 ] && ! calls "sleep\|.* -t " >/dev/null'
exit "$status"
