#!/usr/bin/env bash
# Runs scripts/setup.sh against stand-ins for apt-get, dpkg and the rest (no network, nothing
# installed): a mirror whose index update keeps failing and whose packages resolve only with
# the base release as the target, one where nothing resolves, and one that works at once.
# usage: check-setup.sh SETUP_SCRIPT
set -u
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for tool in apt-get dpkg dpkg-query locale locale-gen sleep; do
    ln -s "$(cd "$(dirname "$0")" && pwd)/stand-in.sh" "$work/$tool"
done
release=$(. /etc/os-release && echo "$VERSION_CODENAME")
export STAND_IN_LOG=$work/calls
status=0
expect() { eval "$2" || { echo "FAILED with '$STAND_IN_FAILS': $1"; status=1; }; }
calls() { grep -c -- "^$1" "$STAND_IN_LOG"; }
run_setup() { # the apt-get steps that fail
    export STAND_IN_FAILS=$1
    rm -f "$STAND_IN_LOG" "$STAND_IN_LOG.i386"
    PATH=$work:$PATH "$setup" >"$work/out" 2>"$work/err"
    exit_code=$?
}
setup=$1

run_setup "update install"
expect "exit code 0" '[ $exit_code = 0 ]'
expect "3 updates, 2 pauses" '[ "$(calls "apt-get update")-$(calls "sleep 10")" = 3-2 ]'
expect "installed with -t $release" 'calls "apt-get install -y -qq -t $release [^-]" >/dev/null'

run_setup "update install install-target"
expect "exit code 1" '[ $exit_code = 1 ]'
expect "one or two lines of its own" '[ "$(grep -vc "^E:" "$work/err")" -le 2 ]'
expect "only downloads tried" '[ "$(calls "apt-get install")" = "$(calls ".*--download-only")" ]'
expect "i386 added and removed" '[ ! -e "$STAND_IN_LOG.i386" ] && calls "dpkg --remove" >/dev/null'

run_setup ""
expect "exit code 0, no pause" '[ $exit_code = 0 ] && ! calls sleep >/dev/null'
expect "no target release" '! calls ".* -t " >/dev/null'
exit "$status"
