#!/usr/bin/env bash
# Runs a command (a Wine test through run-in-prefix.sh) with drives of its own, each a small
# tmpfs: F: holds 64 KB, G: is read-only, H: holds 400 MB. They are unmounted afterwards,
# whatever the command did. Mounting needs the right to mount: without it the command is not
# run, the reason is printed and the exit code is 77, which ctest shows as a skipped test.
# usage: with-tmpfs-drives.sh COMMAND [ARGS...]
set -u
folder=$(mktemp -d /tmp/vellora-drives-XXXXXX) || exit 1
names="full readonly large"

unmount_all() {
    local name
    for name in $names; do
        mountpoint -q "$folder/$name" && { umount "$folder/$name" || umount -l "$folder/$name"; }
        rmdir "$folder/$name" 2>/dev/null
    done
    rmdir "$folder"
}
trap unmount_all EXIT
trap 'exit 1' INT TERM HUP

mount_tmpfs() { # name, mount options
    mkdir "$folder/$1" && message=$(mount -t tmpfs -o "$2" "vellora-$1" "$folder/$1" 2>&1)
}
message=
if ! mount_tmpfs full size=64k || ! mount_tmpfs readonly ro,size=64k ||
    ! mount_tmpfs large size=400m; then
    echo "SKIPPED: the drive tests need the right to mount a tmpfs, which this machine does" \
        "not give: ${message:-mount failed}"
    exit 77
fi

export VELLORA_DRIVES="f:$folder/full g:$folder/readonly h:$folder/large"
"$@"
