#!/usr/bin/env bash
# Runs the conformance test (through run-in-prefix.sh) with the file systems it sets situations up
# on, each a tmpfs of its own: F: holds 64 KB, G: is read-only, H: has no free entry once the
# test has filled it, and two more are linked as folders of C:. Things that only the Unix side can
# make (symbolic links, names that differ only in case, files on the read-only drive) the test
# asks for through a folder that this script watches: the test writes a shell script there, which
# runs here, and a ".done" file tells the test that it has run. Everything is unmounted
# afterwards, whatever the test did. A machine that does not let this script mount fails the test.
# usage: with-conformance-drives.sh COMMAND [ARGS...]
set -u
folder=$(mktemp -d /tmp/vellora-conformance-XXXXXX) || exit 1
names="full readonly noentries linked linked2"
bridge=$folder/bridge
watcher=

clean_up() {
    local name
    [ -n "$watcher" ] && kill "$watcher" 2>/dev/null
    for name in $names; do
        mountpoint -q "$folder/$name" && { umount "$folder/$name" || umount -l "$folder/$name"; }
        rmdir "$folder/$name" 2>/dev/null
    done
    rm -rf "$bridge"
    rmdir "$folder"
}
trap clean_up EXIT
trap 'exit 1' INT TERM HUP

mount_tmpfs() { # name, mount options
    mkdir "$folder/$1" && message=$(mount -t tmpfs -o "$2" "vellora-$1" "$folder/$1" 2>&1)
}
message=
if ! mount_tmpfs full size=64k || ! mount_tmpfs readonly size=1m ||
    ! mount_tmpfs noentries size=1m,nr_inodes=64 || ! mount_tmpfs linked size=16m ||
    ! mount_tmpfs linked2 size=16m; then
    echo "The conformance test needs the right to mount a tmpfs: ${message:-mount failed}" >&2
    exit 1
fi

mkdir "$bridge"
watch_requests() {
    local request
    while [ ! -e "$bridge/stop" ]; do
        for request in "$bridge"/*.sh; do
            [ -e "$request" ] || continue
            sh "$request" >"${request%.sh}.out" 2>&1
            mv "$request" "${request%.sh}.ran"
            : >"${request%.sh}.done"
        done
        sleep 0.02
    done
}
watch_requests &
watcher=$!

export VELLORA_DRIVES="f:$folder/full g:$folder/readonly h:$folder/noentries s:../drive_c"
export VELLORA_CONFORMANCE_MOUNTS=$folder
"$@"
