#!/usr/bin/env bash
# The main job: sets up and builds everything, installs the printer's programs into a Wine
# prefix of its own with the setup tool, starts the host, prints docs/sample.txt with the driver
# stand-in VlPrint, and reports where the TIFF file landed, with a PNG of its first page.
#
# usage: scripts/demo.sh [--overwrite | --cancel | --fresh-root]
# A second run finds the file of the first at the target C:\VelloraDoc.tif, and the host asks
# whether to overwrite it. The demo answers Yes (--overwrite, the default), so that every run
# ends with a new file; --cancel answers Cancel, keeps the earlier file and ends with exit code
# 1; --fresh-root prints to a new folder, so that nothing is in the way.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage: scripts/demo.sh [--overwrite | --cancel | --fresh-root]" >&2
    exit 2
}

if [ "${1:-}" != --in-display ]; then
    [ $# -le 1 ] || usage
    case "${1:-}" in "" | --overwrite | --cancel | --fresh-root) ;; *) usage ;; esac
    "$root/scripts/setup.sh"
    "$root/scripts/build.sh" >/dev/null
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --in-display "$@"
fi
choice=${2:-}

source "$root/scripts/wine-env.sh"
export WINEPREFIX=$root/build/demo-prefix
out=$root/build/demo
run() { "$WINELOADER" "$@"; }
caption="Vellora 9x"

make_prefix() {
    run wineboot -i >/dev/null 2>&1
    # No window manager runs under Xvfb: in a virtual desktop Wine draws frames and captions
    # itself, so that the picture of the overwrite question shows them.
    run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -k
}

# Answers the overwrite question with the button (6 Yes, 2 Cancel) once the host asks it, and
# keeps a picture of it.
answer_question() {
    local frame
    frame=$(run "$VELLORA_BIN/VlWindow.exe" wait-box "$caption") || return 1
    import -window root -crop "$frame" +repage "$out/overwrite-question.png"
    run "$VELLORA_BIN/VlWindow.exe" press "$caption" "$1"
}

# The summary of a TIFF file that libtiff's tiffinfo reads without complaint.
summarise() {
    local file=$1 info
    info=$(tiffinfo "$file" 2>"$out/tiffinfo-complaints.txt")
    if [ -s "$out/tiffinfo-complaints.txt" ]; then
        echo "tiffinfo complains about $file:" >&2
        cat "$out/tiffinfo-complaints.txt" >&2
        return 1
    fi
    local pages compression
    pages=$(grep -c '^TIFF Directory' <<<"$info")
    compression=$(sed -n 's/^ *Compression Scheme: //p' <<<"$info" | head -n 1)
    echo "  $pages pages, $(stat -c %s "$file") bytes, compression $compression;" \
        "$(sed -n 's/^ *Image Width: \([0-9]*\) Image Length: \([0-9]*\)/\1x\2 pixels/p' \
            <<<"$info" | head -n 1)" \
        "at $(sed -n 's/^ *Resolution: \([0-9]*\),.*/\1/p' <<<"$info" | head -n 1) dpi"
}

mkdir -p "$out"
wineserver -k 2>/dev/null || true
[ -d "$WINEPREFIX/drive_c" ] || make_prefix
trap 'wineserver -k 2>/dev/null || true' EXIT

# Output goes through files, not pipes: the host that the setup tool starts would hold a pipe
# open for as long as it runs.
setup_status=0
echo "Installing into the Wine prefix $WINEPREFIX and starting the host:"
run "$VELLORA_BIN/VlSetup.exe" install --start-host >"$out/setup.log" 2>&1 || setup_status=$?
sed 's/^/  /' "$out/setup.log"
[ "$setup_status" -eq 0 ] || exit 1

# The settings that the setup tool wrote: one multipage LZW file at the root c:\VelloraDoc.
output_root='c:\VelloraDoc'
target_windows='C:\VelloraDoc.tif'
target=$WINEPREFIX/drive_c/VelloraDoc.tif
print_options=()
if [ "$choice" = --fresh-root ]; then
    folder=VelloraDemo/$(date +%Y%m%d-%H%M%S)
    mkdir -p "$WINEPREFIX/drive_c/$folder"
    output_root="c:\\${folder//\//\\}\\Sample"
    target_windows="C:\\${folder//\//\\}\\Sample.tif"
    target=$WINEPREFIX/drive_c/$folder/Sample.tif
    print_options=(--root "$output_root")
fi

answer=
if [ -e "$target" ]; then
    answer=6
    [ "$choice" = --cancel ] && answer=2
    echo "$target_windows is there from an earlier run: the host will ask whether to" \
        "overwrite it, and the demo answers $([ "$answer" = 6 ] && echo Yes || echo Cancel)."
    answer_question "$answer" &
    answerer=$!
fi

document=$(run winepath -w "$root/docs/sample.txt")
echo "Printing docs/sample.txt with VlPrint:"
status=0
run "$VELLORA_BIN/VlPrint.exe" --timeout 120 "${print_options[@]}" "$document" >"$out/vlprint.log" 2>&1 ||
    status=$?
sed 's/^/  /' "$out/vlprint.log"
if [ -n "$answer" ]; then
    wait "$answerer" || true
    echo "The question as the host asked it: build/demo/overwrite-question.png"
fi

if [ "$status" -ne 0 ]; then
    if [ "$answer" = 2 ]; then
        echo "The earlier file was kept. Run scripts/demo.sh to replace it, or" \
            "scripts/demo.sh --fresh-root to print to a new folder." >&2
    else
        echo "VlPrint failed with exit code $status." >&2
    fi
    exit 1
fi

echo "The TIFF file landed at $target_windows in the Wine prefix, that is"
echo "  $target"
summarise "$target"
convert "$target[0]" "$out/first-page.png"
echo "Its first page as a picture: build/demo/first-page.png"
