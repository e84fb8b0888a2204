#!/usr/bin/env bash
# Stands in for apt-get, dpkg, dpkg-query, locale and sleep, by the name it is called with:
# logs each call to $STAND_IN_LOG and fails the apt-get steps named in $STAND_IN_FAILS
# ("update", "install", "install-target"). Nothing counts as installed; i386 is foreign
# while the file $STAND_IN_LOG.i386 exists.
echo "$(basename "$0") $*" >>"$STAND_IN_LOG"
fails() { [[ " $STAND_IN_FAILS " == *" $1 "* ]]; }
case "$(basename "$0") $1" in
"apt-get update") fails update && exit 100 ;;
"apt-get install") [[ " $* " == *" -t "* ]] && step=install-target || step=install
    fails "$step" && { echo "E: Unable to correct problems, you have held broken packages." >&2; exit 100; } ;;
"dpkg --print-foreign-architectures") [ -e "$STAND_IN_LOG.i386" ] && echo i386 ;;
"dpkg --add-architecture") touch "$STAND_IN_LOG.i386" ;;
"dpkg --remove-architecture") rm "$STAND_IN_LOG.i386" ;;
"dpkg-query "*) exit 1 ;;
"locale -a") echo ja_JP.utf8 ;;
esac
exit 0
