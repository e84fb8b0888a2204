#!/usr/bin/env bash
# Fails when a program holds an instruction that a Pentium (P5) lacks, naming the function that
# holds it: conditional moves (CMOVcc, FCMOVcc), FCOMI/FUCOMI and their popping forms, the long
# NOP (0F 1F), prefetches, fences, MOVNTI, CLFLUSH, SYSENTER, and any MMX or SSE register.
# usage: check-instructions.sh OBJDUMP PROGRAM...
set -u
objdump=$1
shift
status=0
for program in "$@"; do
    found=$("$objdump" -d -w "$program" | awk '
        /^[0-9a-f]+ <.*>:$/ { function_name = $0; sub(/^[0-9a-f]+ </, "", function_name); sub(/>:$/, "", function_name); next }
        {
            split($0, column, "\t")
            bytes = column[2]; instruction = column[3]
            if (instruction ~ /^(f?cmov[a-z]*|fu?comip?|prefetch[a-z0-9]*|[lms]fence|movnti|clflush[a-z]*|sysenter|sysexit)( |$)/ ||
                instruction ~ /%x?mm[0-9]/ || bytes ~ /^(66 |f3 |2e |3e )*0f 1f /)
                print function_name ": " instruction
        }')
    if [ -n "$found" ]; then
        echo "$(basename "$program") holds $(wc -l <<<"$found") instructions that a Pentium lacks:"
        sort <<<"$found" | uniq -c | sort -rn | sed 's/^/  /'
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "$# programs: no instruction beyond the Pentium's"
exit "$status"
