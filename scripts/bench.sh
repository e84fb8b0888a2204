#!/usr/bin/env bash
# Runs every benchmark and the long robustness runs, prints each figure beside its target and
# whether it is met, and writes the table to docs/benchmarks.md. Exits non-zero when a target
# is missed. Takes about fifty minutes.
#   scripts/bench.sh            everything
#   scripts/bench.sh --quick    the same steps with small counts, to try the script out
set -uo pipefail
export LC_ALL=C
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
work=$root/build/bench
figures=$work/figures.txt

quick=0
case "${1:-}" in
--quick) quick=1 ;;
--inside-display) quick=${2:-0} ;;
esac
counts() { if [ "$quick" = 1 ]; then echo "$2"; else echo "$1"; fi; }
fuzz_runs=$(counts 1000000 20000)
placements=$(counts 5000 400)
across_files=$(counts 40 8)
soak_placements=$(counts 10000 500)
soak_documents=$(counts 10000 300)
fuzz_requests=$(counts 100000 2000)
dialog_fuzz_requests=$(counts 20000 1000)
startup_pairs=$(counts 200 10)
idle_seconds=10

figure() { echo "$1 $2" >>"$figures"; }
# The last value of a figure, without trailing zeros.
value() { awk -v name="$1" '{ sub(/\r$/, "") } $1 == name { v = $2 } END { if (v ~ /^-?[0-9.]+$/) printf "%.10g", v; else printf "%s", v }' "$figures"; }

# --- Size: the release programs, stripped, and the DLLs they import -----------------------------
system_dlls="KERNEL32.dll USER32.dll GDI32.dll ADVAPI32.dll SHELL32.dll COMDLG32.dll WINSPOOL.DRV
             ole32.dll"
measure_sizes() {
    local program stripped foreign dlls dll
    for program in VelloraH VlExProp Uninstall; do
        stripped=$work/$program.stripped.exe
        i686-w64-mingw32-strip -o "$stripped" "$root/build/win32/bin/$program.exe"
        figure "size_${program}_bytes" "$(stat -c %s "$stripped")"
        dlls=$(i686-w64-mingw32-objdump -p "$stripped" | sed -n 's/.*DLL Name: //p')
        foreign=0
        for dll in $dlls; do
            echo "$system_dlls" | grep -qiw "$dll" || foreign=$((foreign + 1))
        done
        figure "size_${program}_foreign_dlls" "$foreign"
        figure "size_${program}_dlls" "$(echo "$dlls" | paste -sd, -)"
    done
}

# --- Fuzzing the pure logic: each libFuzzer target for a million inputs -------------------------
fuzz_logic() {
    local fuzz=$root/build/native/fuzz target name log runs
    for target in "$fuzz"/Fuzz*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        log=$work/$name.log
        mkdir -p "$work/corpus/$name"
        local options=(-runs="$fuzz_runs" -timeout=10 -artifact_prefix="$work/")
        [ -f "$root/bench/fuzz/$name.dict" ] && options+=(-dict="$root/bench/fuzz/$name.dict")
        "$target" "${options[@]}" "$work/corpus/$name" >"$log" 2>&1
        figure "logic_${name}_crashes" "$?"
        runs=$(sed -nE 's/^Done ([0-9]+) runs.*/\1/p' "$log" | tail -n 1)
        figure "logic_${name}_executions" "${runs:-0}"
    done
}

# --- The search of every placement against the model file system ------------------------------
search_placements() {
    local log=$work/placement-search.log
    "$root/build/native/bin/placement_search" >"$log" 2>&1
    figure search_runs "$(sed -nE 's/^Placement search: ([0-9]+) runs.*/\1/p' "$log")"
    figure search_calls "$(sed -nE 's/^Placement search: [0-9]+ runs, ([0-9]+) file calls.*/\1/p' "$log")"
    figure search_broken "$(sed -nE 's/.*, ([0-9]+) runs broke a rule$/\1/p' "$log")"
}

# --- The model file system against the real calls under Wine ----------------------------------
compare_model() {
    local log=$work/model-conformance.log
    xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --test-dir "$root/build/win32" -R '^(wine_prefix|model_conformance)$' -V >"$log" 2>&1
    figure conformance_failed "$?"
    figure conformance_situations "$(sed -nE 's/.*Conformance: ([0-9]+) situations.*/\1/p' "$log")"
    figure conformance_deliberate "$(sed -nE 's/.*situations compared, ([0-9]+) deliberate.*/\1/p' "$log")"
}

# --- Under Wine: start-up, idle, memory, placement, soak and the host fuzz ----------------------
wine_run() { "$WINELOADER" "$VELLORA_BIN/$1" "${@:2}"; }

# The Linux process of a Windows program running in this Wine prefix.
unix_pid() {
    local pid
    for pid in $(pgrep -f "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" &&
            echo "$pid" && return 0
    done
    return 1
}
wait_for_unix_pid() {
    local tries
    for tries in $(seq 100); do
        unix_pid "$1" && return 0
        sleep 0.1
    done
    return 1
}
private_dirty_kb() { awk '/^Private_Dirty/ { print $2 }' "/proc/$1/smaps_rollup"; }
# utime + stime, in clock ticks, of all the process's threads.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# Starts a resident program; measures its idle CPU time and then its private memory.
start_and_measure() { # program, figure prefix
    wine_run "$1" >/dev/null 2>&1 &
    local pid
    pid=$(wait_for_unix_pid "$1") || { figure "${2}_started" 0; return 1; }
    figure "${2}_started" 1
    sleep 3
    local before
    before=$(cpu_ticks "$pid")
    sleep "$idle_seconds"
    figure "${2}_idle_ticks" $(($(cpu_ticks "$pid") - before))
    figure "${2}_private_dirty_kb" "$(private_dirty_kb "$pid")"
    echo "$pid"
}

inside_display() {
    export WINEPREFIX=$work/prefixes/template
    "$root/tests/wine/make-prefix.sh" "$WINELOADER" "$work/prefixes"
    mkdir -p "$WINEPREFIX/drive_c/bench"

    wine_run StartupBench.exe "$startup_pairs" >>"$figures"

    local empty host
    empty=$(start_and_measure EmptyWindow.exe empty) && kill "$empty"
    host=$(start_and_measure VelloraH.exe host) || return 1

    wine_run PlacementBench.exe overhead "$placements" 'C:\bench\placement' >>"$figures"
    local warm
    warm=$(private_dirty_kb "$host")
    figure host_after_overhead_kb "$warm"
    wine_run PlacementBench.exe place "$soak_placements" 'C:\bench\placement' >>"$figures"
    figure host_after_placements_kb "$(private_dirty_kb "$host")"
    wine_run Soak.exe "$soak_documents" 'C:\bench\soak' >>"$figures"
    figure host_after_soak_kb "$(private_dirty_kb "$host")"
    place_across_drives
    kill "$host"
    wineserver -w

    wine_run HostFuzz.exe run "$fuzz_requests" 'C:\bench\hostfuzz' 20261208 no-save-dialogs \
        >>"$figures"
    wineserver -w
    fuzz_with_dialogs
    wineserver -k
}

# 10 MB files from the disk-backed C: to E: on a tmpfs, which is another file system; then the
# other way round, onto the disk, where writing the copy through waits for the disk (a tmpfs
# skips it): there the host is judged against a floor that writes its copy through too.
place_across_drives() {
    local drive_e=/dev/shm/vellora-bench-$$
    mkdir -p "$drive_e"
    ln -sfn "$drive_e" "$WINEPREFIX/dosdevices/e:"
    wine_run PlacementBench.exe across "$across_files" 'C:\bench\spool' 'E:\bench' >>"$figures"
    wine_run PlacementBench.exe across "$across_files" 'E:\spool' 'C:\bench\across' through |
        sed 's/^across_/across_to_disk_/' >>"$figures"
    rm -f "$WINEPREFIX/dosdevices/e:"
    rm -rf "$drive_e"
}

# The host fuzz with the save-file dialog too. Wine reports each fault that it ignores in a
# window procedure (+seh); the host's memory map, copied while it runs, tells in which module
# each fault lay.
fuzz_with_dialogs() {
    local log=$work/hostfuzz-dialogs-seh.log maps=$work/hostfuzz-dialogs-maps.txt pid
    WINEDEBUG=+seh wine_run HostFuzz.exe run "$dialog_fuzz_requests" 'C:\bench\hostfuzz' 20261209 \
        2>"$log" | sed 's/^hostfuzz_/dialogfuzz_/' >>"$figures" &
    local fuzz=$!
    while kill -0 "$fuzz" 2>/dev/null; do
        pid=$(unix_pid VelloraH.exe) && cp "/proc/$pid/maps" "$maps" 2>/dev/null
        sleep 2
    done
    figure dialogfuzz_faults "$(grep -c 'KiUserCallbackDispatcher ignoring exception' "$log")"
    figure dialogfuzz_fault_places "$(fault_places "$log" "$maps")"
}

# "module:count" for each place of an access violation, "0" for a call through a null pointer.
fault_places() { # seh log, maps
    sed -nE 's/.*dispatch_exception code=c0000005 flags=0 addr=([0-9A-F]+).*/\1/p' "$1" |
        while read -r address; do
            awk -v address="$address" '
                function hex(text,   i, n) { n = 0; text = tolower(text)
                    for (i = 1; i <= length(text); i++) n = n * 16 + index("0123456789abcdef", substr(text, i, 1)) - 1
                    return n }
                BEGIN { wanted = hex(address); place = (wanted == 0) ? "null-call" : "unknown" }
                { split($1, range, "-"); if (wanted >= hex(range[1]) && wanted < hex(range[2]) && NF >= 6) { n = split($6, parts, "/"); place = parts[n] } }
                END { print place }' "$2"
        done | sort | uniq -c | awk '{ printf "%s%s:%s", (NR > 1 ? "," : ""), $2, $1 }'
}

# --- The table ---------------------------------------------------------------------------------
rows=()
missed=0
row() { # what, figure, target, met (1/0)[, spread of the pairs]
    local verdict=met
    [ "$4" = 1 ] || { verdict=MISSED; missed=$((missed + 1)); }
    rows+=("| $1 | $2 | ${5:-–} | $3 | $verdict |")
}
at_most() { awk -v a="$1" -v b="$2" 'BEGIN { print (a != "" && a + 0 <= b + 0) ? 1 : 0 }'; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { print (a != "" && a + 0 >= b + 0) ? 1 : 0 }'; }
# 1 when every check given is 1.
all_met() { local check; for check; do [ "$check" = 1 ] || { echo 0; return; }; done; echo 1; }
# True (1) when no fault lay in the host's own program file.
no_fault_in_host() { case "$1" in *VelloraH*) echo 0 ;; *) echo 1 ;; esac; }
ratio() { printf '%.3f' "${1:-0}"; }
# A row of a series of pairs, judged on the median of the pairs' ratios; beside it the 25th to
# 75th percentile of those ratios, the middle half of the pairs.
pairs_row() { # what, series name, highest median ratio met
    local median
    median=$(value "${2}_ratio")
    row "$1" "$(ratio "$median")× median" "≤ $3×" "$(at_most "$median" "$3")" \
        "$(ratio "$(value "${2}_ratio_q1")")× – $(ratio "$(value "${2}_ratio_q3")")× ($(value "${2}_pairs") pairs)"
}
kb_difference() { echo $(($(value "$1") - $(value "$2"))); }

build_table() {
    local growth program name
    pairs_row "Placement: 1280 + 1281 with a same-folder move vs two bare round trips + MoveFileA + failing DeleteFileA ($(value placement_files) files, $(value placement_pairs) pairs of blocks taking turns; medians per file $(value placement_us) µs vs $(value placement_floor_us) µs)" \
        placement 1.10
    pairs_row "Placement across drives: a 10 MB file through 1280 + 1281 from C: to a tmpfs drive vs two bare round trips + CopyFileA + DeleteFileA ($(value across_files) files, one per side of a pair, taking turns; medians $(value across_ms) ms vs $(value across_floor_ms) ms)" \
        across 1.10
    pairs_row "Placement across drives onto the disk: a 10 MB file through 1280 + 1281 from a tmpfs drive to C: vs two bare round trips + CopyFileA + FlushFileBuffers of the copy + DeleteFileA ($(value across_to_disk_files) files, taking turns; medians $(value across_to_disk_through_ms) ms vs $(value across_to_disk_through_floor_ms) ms; the bare floor without FlushFileBuffers, last in each round: $(value across_to_disk_floor_ms) ms, median ratio $(ratio "$(value across_to_disk_ratio)")×, middle half $(ratio "$(value across_to_disk_ratio_q1)")× – $(ratio "$(value across_to_disk_ratio_q3)")×)" \
        across_to_disk_through 1.10
    row "Idle: host CPU time over ${idle_seconds} s after start-up" \
        "$(value host_idle_ticks) ticks" "0 ticks" "$(at_most "$(value host_idle_ticks)" 0)"
    growth=$(kb_difference host_private_dirty_kb empty_private_dirty_kb)
    row "Memory: host Private_Dirty vs empty program with a message loop ($(value host_private_dirty_kb) KB vs $(value empty_private_dirty_kb) KB)" \
        "+$growth KB" "≤ +256 KB" "$(at_most "$growth" 256)"
    growth=$(kb_difference host_after_placements_kb host_after_overhead_kb)
    row "Memory: host growth over $(value placements_done) placements" "${growth} KB" "≤ 64 KB" \
        "$(at_most "$growth" 64)"
    growth=$(kb_difference host_after_soak_kb host_after_placements_kb)
    row "Memory: host growth over the soak ($(value soak_documents) documents)" "${growth} KB" \
        "≤ 64 KB" "$(at_most "$growth" 64)"
    pairs_row "Start-up: process start to \"VelloraHost\" answering vs empty program, taking turns (medians $(value startup_host_ms) ms vs $(value startup_host_floor_ms) ms)" \
        startup_host 1.10
    pairs_row "Start-up: process start to the properties dialog visible vs empty dialog program, taking turns (medians $(value startup_properties_ms) ms vs $(value startup_properties_floor_ms) ms)" \
        startup_properties 1.10
    for program in VelloraH VlExProp Uninstall; do
        row "Size: $program.exe stripped (imports $(value "size_${program}_dlls"))" \
            "$(value "size_${program}_bytes") bytes" "≤ 65536 bytes, system DLLs only" \
            "$(all_met "$(at_most "$(value "size_${program}_bytes")" 65536)" "$(at_most "$(value "size_${program}_foreign_dlls")" 0)")"
    done
    for name in $(awk '$1 ~ /^logic_.*_executions$/ { print $1 }' "$figures"); do
        name=${name#logic_}
        name=${name%_executions}
        row "Fuzzing $name (libFuzzer, ASan + UBSan)" \
            "$(value "logic_${name}_executions") executions, exit $(value "logic_${name}_crashes")" \
            "≥ $fuzz_runs executions, no crash" \
            "$(all_met "$(at_least "$(value "logic_${name}_executions")" "$fuzz_runs")" "$(at_most "$(value "logic_${name}_crashes")" 0)")"
    done
    row "Placement search: every placement, answer, failure and moment against the model file system ($(value search_calls) file calls)" \
        "$(value search_runs) runs, $(value search_broken) broke a rule" \
        "≥ 100000 runs, none broken" \
        "$(all_met "$(at_least "$(value search_runs)" 100000)" "$(at_most "$(value search_broken)" 0)")"
    row "Model conformance: situations set up with real files under Wine and in the model, compared" \
        "$(value conformance_situations) situations, $(value conformance_deliberate) deliberate differences, exit $(value conformance_failed)" \
        "≥ 150 situations, every other difference a failure" \
        "$(all_met "$(at_least "$(value conformance_situations)" 150)" "$(at_most "$(value conformance_failed)" 0)")"
    row "Host fuzz without the save-file dialog: requests from 4 senders answered ($(value hostfuzz_boxes) boxes answered); save dialogs answered" \
        "$(value hostfuzz_requests) of $fuzz_requests, $(value hostfuzz_unanswered) unanswered; $(value hostfuzz_dialogs)" \
        "all answered; 0" "$(all_met "$(at_least "$(value hostfuzz_requests)" "$fuzz_requests")" "$(at_most "$(value hostfuzz_unanswered)" 0)" "$(at_most "$(value hostfuzz_dialogs)" 0)")"
    row "Host fuzz: afterwards the host answers, places a file and ends on 1284" \
        "$(value hostfuzz_answers_at_end)/$(value hostfuzz_places_at_end)/$(value hostfuzz_exit_request_ends_host)" \
        "1/1/1" "$(all_met "$(at_least "$(value hostfuzz_answers_at_end)" 1)" "$(at_least "$(value hostfuzz_places_at_end)" 1)" "$(at_least "$(value hostfuzz_exit_request_ends_host)" 1)")"
    row "Host fuzz: atoms left, produced files left, files touched outside the test folders" \
        "$(value hostfuzz_atoms_left)/$(value hostfuzz_produced_left)/$(value hostfuzz_touched_outside)" \
        "0/0/0" "$(all_met "$(at_most "$(value hostfuzz_atoms_left)" 0)" "$(at_most "$(value hostfuzz_produced_left)" 0)" "$(at_most "$(value hostfuzz_touched_outside)" 0)")"
    row "Host fuzz with the save-file dialog: requests answered ($(value dialogfuzz_boxes) boxes, $(value dialogfuzz_dialogs) dialogs answered); host answers, places, ends on 1284; atoms left" \
        "$(value dialogfuzz_requests) of $dialog_fuzz_requests; $(value dialogfuzz_answers_at_end)/$(value dialogfuzz_places_at_end)/$(value dialogfuzz_exit_request_ends_host); $(value dialogfuzz_atoms_left)" \
        "all; 1/1/1; 0" "$(all_met "$(at_least "$(value dialogfuzz_requests)" "$dialog_fuzz_requests")" "$(at_least "$(value dialogfuzz_answers_at_end)" 1)" "$(at_least "$(value dialogfuzz_places_at_end)" 1)" "$(at_least "$(value dialogfuzz_exit_request_ends_host)" 1)" "$(at_most "$(value dialogfuzz_atoms_left)" 0)")"
    row "Host fuzz with the save-file dialog: faults that Wine ignored in a window procedure (where), produced files left, files touched outside" \
        "$(value dialogfuzz_faults) ($(value dialogfuzz_fault_places)); $(value dialogfuzz_produced_left); $(value dialogfuzz_touched_outside)" \
        "none in the host's own code; 0" "$(all_met "$(no_fault_in_host "$(value dialogfuzz_fault_places)")" "$(at_most "$(value dialogfuzz_touched_outside)" 0)")"
    row "Soak: documents through the driver stand-in and the host ($(value soak_files_placed) files placed, $(value soak_ms_per_document) ms per document)" \
        "$(value soak_documents) documents; missing $(value soak_files_missing), damaged $(value soak_files_damaged), spool files left $(value soak_spool_files_left), failed jobs $(value soak_failed_jobs)" \
        "$soak_documents documents, all 0" \
        "$(all_met "$(at_least "$(value soak_documents)" "$soak_documents")" "$(at_most "$(value soak_files_missing)" 0)" "$(at_most "$(value soak_files_damaged)" 0)" "$(at_most "$(value soak_spool_files_left)" 0)" "$(at_most "$(value soak_failed_jobs)" 0)")"
}

write_report() {
    local machine
    machine="$(uname -m), $(nproc) cores ($(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n 1)), $(awk '/MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo), $("$WINELOADER" --version 2>/dev/null), programs run: $(basename "$(dirname "$VELLORA_BIN")") build"
    {
        echo "| What | Figure | Spread: 25th–75th percentile of the pairs' ratios | Target | |"
        echo "|---|---|---|---|---|"
        printf '%s\n' "${rows[@]}"
    } >"$work/table.md"
    cat "$work/table.md"
    [ "$quick" = 1 ] && return
    {
        echo "# Benchmarks"
        echo
        echo "Last run of \`scripts/bench.sh\`: $(date -u '+%Y-%m-%d %H:%M UTC')."
        echo "Machine: $machine."
        echo
        cat "$work/table.md"
        echo
        cat "$root/docs/benchmarks-notes.md"
    } >"$root/docs/benchmarks.md"
    echo "Written to docs/benchmarks.md."
}

if [ "${1:-}" = --inside-display ]; then
    inside_display
    exit $?
fi

"$root/scripts/setup.sh" || exit 1
"$root/scripts/build.sh" >/dev/null || exit 1
rm -rf "$work"
mkdir -p "$work"
: >"$figures"
echo "Sizes..."
measure_sizes
echo "Fuzzing the logic ($fuzz_runs inputs each)..."
fuzz_logic
echo "Searching every placement against the model file system..."
search_placements
echo "Comparing the model file system with the real calls under Wine..."
compare_model
echo "Under Wine: start-up, idle, memory, placement, soak, host fuzz..."
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --inside-display "$quick"
build_table
write_report
[ "$missed" -eq 0 ]
