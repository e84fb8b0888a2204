# Sourced by the scripts that run the programs under Wine: picks the build that this machine's
# Wine runs and its loader. Sets VELLORA_BIN (the programs) and WINELOADER.
script_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ "$("$script_dir/wine-arch.sh")" = i686 ]; then
    VELLORA_BIN=$script_dir/../build/win32/bin
    WINELOADER=/usr/lib/wine/wine
else
    VELLORA_BIN=$script_dir/../build/win64/bin
    WINELOADER=/usr/lib/wine/wine64
fi
export VELLORA_BIN WINELOADER WINEDEBUG=-all
