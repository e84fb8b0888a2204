#!/usr/bin/env bash
# Stands in, by the name it is called with, for apt-get, dpkg, dpkg-query, locale and sleep: logs
# each call and fails the apt-get steps named in STAND_IN_FAILS (update, install, install-target).
echo "$(basename "$0") $*" >>"$STAND_IN_LOG"
case "$(basename "$0") $1" in
"apt-get update") [[ " $STAND_IN_FAILS " != *" update "* ]] ;;
"apt-get install") [[ " $* " == *" -t "* ]] && step=install-target || step=install
    [[ " $STAND_IN_FAILS " != *" $step "* ]] || { echo "E: held broken packages" >&2; exit 100; } ;;
"dpkg --print-foreign-architectures") [ -e "$STAND_IN_LOG.i386" ] && echo i386 ;;
"dpkg --add-architecture") touch "$STAND_IN_LOG.i386" ;;
"dpkg --remove-architecture") rm "$STAND_IN_LOG.i386" ;;
"dpkg-query "*) exit 1 ;;
"locale -a") echo ja_JP.utf8 ;;
esac
