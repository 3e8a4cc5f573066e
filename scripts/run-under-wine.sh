#!/usr/bin/env bash
# Runs a Windows console program under Wine in a private prefix and exits with its exit code.
#
#   run-under-wine.sh PREFIX PROGRAM.exe [ARGUMENTS...]
#
# The prefix is created on first use (that takes a while: wineboot sets up a whole Windows
# folder tree) and reused afterwards. WINE may name the wine launcher; default: wine on PATH.
set -euo pipefail

if (($# < 2)); then
    echo "usage: $0 PREFIX PROGRAM.exe [ARGUMENTS...]" >&2
    exit 2
fi
# Wine insists on an absolute prefix.
prefix=$(realpath -m -- "$1")
program=$2
shift 2

wine=${WINE:-wine}
wineserver=wineserver
if [[ $wine == */* && -x $(dirname "$wine")/wineserver ]]; then
    wineserver=$(dirname "$wine")/wineserver
fi

export WINEPREFIX=$prefix
export WINEARCH=win64
export WINEDEBUG=-all
# No .NET or HTML engine: wineboot would otherwise offer to download them. No debugger on a
# crash either: once a program has run threads, Wine's debugger ends it with exit code 0.
# PINDREL_WINE_DEBUGGER=1 keeps the debugger for its backtrace.
export WINEDLLOVERRIDES="mscoree=;mshtml="
if [[ ${PINDREL_WINE_DEBUGGER:-0} != 1 ]]; then
    WINEDLLOVERRIDES+=";winedbg.exe=d"
fi
# Console programs only: keep Wine away from any X display the caller may have.
unset DISPLAY WAYLAND_DISPLAY

mkdir -p "$(dirname "$prefix")"
# Two runs starting at once must not both initialise the prefix.
exec 9>"$prefix.lock"
flock 9
if [[ ! -f $prefix/system.reg ]]; then
    echo "run-under-wine: creating the Wine prefix $prefix (first run only)" >&2
    rm -rf "$prefix"
    # A half-made prefix (interrupted wineboot) is recognised by system.reg missing.
    if ! "$wine" wineboot --init >/dev/null 2>&1 || ! "$wineserver" -w; then
        echo "run-under-wine: wineboot failed" >&2
        rm -rf "$prefix"
        exit 1
    fi
fi
flock -u 9

# The output is kept aside as well: a crash must fail the run even if the exit code says 0.
log=$(mktemp "${TMPDIR:-/tmp}/run-under-wine.XXXXXX")
trap 'rm -f "$log"' EXIT
set +e
"$wine" "$program" "$@" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
set -e
if ((status == 0)) && grep -q '^wine: Unhandled' "$log"; then
    echo "run-under-wine: $program crashed" >&2
    status=1
fi
# Let the prefix's server finish before the next run touches it.
"$wineserver" -w || true
exit "$status"
