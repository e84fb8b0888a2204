#!/usr/bin/env bash
# Fails when a program imports from a DLL that Windows 95 as installed from its CD does not
# have (every DLL outside the list below), or a function that Windows 95, 98 and ME do not all
# implement (the table lists those they do, with the source that says so), or when its header
# would keep it from loading there: it must be an i386 program for subsystem version 4.0.
# usage: check-imports.sh OBJDUMP TABLE PROGRAM...
set -u
objdump=$1 table=$2
shift 2
system_dlls=(KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll COMDLG32.dll WINSPOOL.DRV
             COMCTL32.dll)
status=0
for program in "$@"; do
    headers=$("$objdump" -p "$program") || { echo "$program: cannot be read"; status=1; continue; }
    name=$(basename "$program")
    grep -q 'file format pei-i386' <<<"$headers" ||
        { echo "$name: not an i386 program"; status=1; }
    grep -qE '^MajorSubsystemVersion\s+4$' <<<"$headers" &&
        grep -qE '^MinorSubsystemVersion\s+0$' <<<"$headers" ||
        { echo "$name: subsystem version is not 4.0"; status=1; }
    for dll in $(sed -n 's/.*DLL Name: //p' <<<"$headers"); do
        printf '%s\n' "${system_dlls[@]}" | grep -qixF -- "$dll" ||
            { echo "$name imports from $dll, which Windows 95 does not install"; status=1; }
    done
    # One "DLL function" line per import, DLL names compared without regard to case.
    unknown=$(awk -v table="$table" '
        BEGIN { FS = "\t"
                while ((getline line < table) > 0) { split(line, f, "\t"); known[tolower(f[1]) " " f[2]] = 1 } }
        /DLL Name:/ { dll = tolower($0); sub(/.*dll name: /, "", dll); next }
        /^$/ { dll = "" }
        dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ {
            n = split($0, word, /[ \t]+/)
            if (!((dll " " word[n]) in known)) print dll ": " word[n] }
' <<<"$headers")
    if [ -n "$unknown" ]; then
        echo "$name imports what Windows 95, 98 and ME do not all have:"
        sed 's/^/  /' <<<"$unknown"
        status=1
    fi
done
[ "$status" -eq 0 ] &&
    echo "$# programs: every import from a DLL of Windows 95 and on Windows 95, 98 and ME; i386, subsystem 4.0"
exit "$status"
