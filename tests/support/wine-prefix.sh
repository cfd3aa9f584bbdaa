#!/bin/bash
# Prepares the Wine prefix the Windows tests run in, and starts one
# persistent wineserver for it; --stop ends that server again; --run runs a
# Windows program in a prepared prefix the way the tests do.
#
#   bash tests/support/wine-prefix.sh [--stop] [prefix]
#   bash tests/support/wine-prefix.sh --run prefix program [arguments...]
#
# The prefix defaults to build-mingw-w64/wineprefix, where the mingw-w64
# test preset looks for it; a relative one is taken from the top of the
# source tree. It needs no X server: Wine's null display driver creates the
# windows. A prefix that is already set up is only checked, so a second run
# takes a moment.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)

mode=prepare
case ${1:-} in
--stop | --run)
    mode=${1#--}
    shift
    ;;
esac
prefix=${1:-build-mingw-w64/wineprefix}
[[ $prefix == /* ]] || prefix=$root/$prefix
[[ $mode != run ]] || shift
mkdir -p "$(dirname "$prefix")"
WINEPREFIX=$(cd "$(dirname "$prefix")" && pwd)/$(basename "$prefix")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

if [[ $mode == stop ]]; then
    wineserver -k 2>/dev/null || true # no server running is fine
    exit 0
fi

# The loader the build runs the Windows tests with (chosen in
# cmake/mingw-w64-x86_64.cmake and passed by the tests); run by hand,
# Debian's "wine" wrapper.
wine=${EMBERLINE_WINE:-wine}
if [[ $mode == run ]]; then
    exec "$wine" "$@"
fi
# The server and the services started below keep the folder they start in.
cd "$root"

# What the prefix is set up with; a prefix from another Wine or an older
# list of settings is set up again.
settings="$("$wine" --version) null-driver fonts-wine replacements-2 dpi-96"
stamp=$WINEPREFIX/.emberline-prefix
log=$WINEPREFIX.log
if [[ -f $stamp && $(<"$stamp") == "$settings" ]]; then
    echo "Wine prefix ready: $WINEPREFIX"
else
    echo "Preparing the Wine prefix $WINEPREFIX (log: $log)"
    : >"$log"
    trap 'cat "$log" >&2' ERR
    # wineboot's note that syswow64\rundll32.exe is missing concerns the
    # 32-bit half, which the 64-bit programs do not use.
    "$wine" wineboot -i </dev/null >>"$log" 2>&1
    reg() { "$wine" reg add "$@" /f </dev/null >>"$log" 2>&1; }
    # Windows without an X server.
    reg 'HKCU\Software\Wine\Drivers' /v Graphics /d null
    # Garamond comes with Office only; Debian's EB Garamond is what GDI
    # lists as "EB Garamond 12". Microsoft Sans Serif falls back to
    # Liberation Sans anyway; naming it keeps that from being a guess.
    reg 'HKCU\Software\Wine\Fonts\Replacements' /v Garamond /d 'EB Garamond 12'
    reg 'HKCU\Software\Wine\Fonts\Replacements' /v 'Microsoft Sans Serif' /d 'Liberation Sans'
    # Windows' default 96 dpi, whatever the machine reports, for tests
    # that measure in pixels.
    reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96
    # Wine 8 does not load fonts-wine's Tahoma, Marlett and MS Sans Serif
    # from /usr/share/wine/fonts; without them the caption buttons show
    # letters and there is no MS Sans Serif.
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    # The registry is on disk once the server that wineboot started ends.
    wineserver -w </dev/null >>"$log" 2>&1
    printf '%s\n' "$settings" >"$stamp"
fi

# One server for the whole test run saves its start-up in every test.
# The server and Wine's own services (services.exe, winedevice.exe,
# rpcss.exe, ...), which start with the first program, then live until
# --stop and keep the output they were started with: started by a test they
# would hold its output pipe, and ctest would wait for it to close until
# the test's timeout. So both are started here, writing to the log.
wineserver -p </dev/null >>"$log" 2>&1
"$wine" cmd /c exit </dev/null >>"$log" 2>&1
