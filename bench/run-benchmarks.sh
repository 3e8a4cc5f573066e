#!/usr/bin/env bash
# Runs the benchmarks of a build and prints their figures and ratios.
#
#   bench/run-benchmarks.sh [BUILD_DIR] [benchmark flags...]
#
# BUILD_DIR defaults to build-release. The benchmark files are written in BUILD_DIR, on the disk
# the project lives on, so that the durable writes cost what they cost there. The flags go to the
# INI store benchmark.
#
# The start-up benchmark runs on a virtual desktop of its own (scripts/xsession.sh: Xvfb,
# openbox, tint2), never on the user's display; PINDREL_STARTUP_RUNS sets its number of runs
# (default 31: the medians of two programs of some 25 ms each move by a millisecond between
# runs of fewer).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Absolute: some benchmarks run from their own working folder.
build=$(cd "${1:-$root/build-release}" 2>/dev/null && pwd) || {
    echo "run-benchmarks: no build folder ${1:-$root/build-release} (make bench builds one)" >&2
    exit 1
}
(($# > 0)) && shift

bench=$build/bin/txini_bench
startup=$build/bin/pindrel_startup_bench
for program in "$bench" "$startup"; do
    if [[ ! -x $program ]]; then
        echo "run-benchmarks: $program not built (make bench builds it)" >&2
        exit 1
    fi
done

work=$(mktemp -d "$build/bench-files.XXXXXX")
# The runtime folder in memory, as a desktop session's is (/run/user/<uid> is a tmpfs): the
# single-instance lock is written there, and on a disk its flush alone costs a millisecond.
runtime=$(mktemp -d /dev/shm/pindrel-bench-runtime.XXXXXX 2>/dev/null) || runtime=$work/runtime
bus_pid=
cleanup() {
    if [[ -n $bus_pid ]]; then kill "$bus_pid" 2>/dev/null || true; fi
    bash "$root/scripts/xsession.sh" stop "$work/xsession" || true
    rm -rf "$work" "$runtime"
}
trap cleanup EXIT

echo "== INI store (txini) =="
TXINI_BENCH_DIR=$work "$bench" "$@"

echo
echo "== Start-up of the bar (pindrel) =="
env -u DISPLAY bash "$root/scripts/xsession.sh" start "$work/xsession" --owner $$
display=$(sed -n 's/^DISPLAY=//p' "$work/xsession/env")
# A session bus of its own, as every desktop session has one: without it, a Qt program's
# accessibility bridge first tries to start one (a fork of the whole program) before it gives up.
bus_address=
if command -v dbus-daemon >/dev/null; then
    if bus=$(dbus-daemon --session --address="unix:path=$work/session-bus" --fork \
        --print-address=1 --print-pid=1 --nopidfile); then
        bus_address=$(sed -n 1p <<<"$bus")
        bus_pid=$(sed -n 2p <<<"$bus")
    fi
fi
if [[ -n $bus_address ]]; then
    export DBUS_SESSION_BUS_ADDRESS=$bus_address
else
    echo "run-benchmarks: no session bus (dbus-daemon missing): programs look for one" >&2
fi
# Private runtime and configuration folders: the single-instance lock and anything the program
# might keep for the user stay in this run.
mkdir -p -m 700 "$runtime" "$work/config"
chmod 700 "$runtime"
DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime XDG_CONFIG_HOME=$work/config \
    "$startup" --pindrel "$build/bin/pindrel" --bare "$build/bin/pindrel_barewindow" \
    --runs "${PINDREL_STARTUP_RUNS:-31}" --folder "$work"

missed=()

# The Qt parts measured in-process, offscreen: each prints its own figures against its goal.
for extra in pindrel_mostrarbotones_bench pindrel_programs_bench vexlo_bench vexlo_ui_bench \
    pindrel_filelist_bench pindrel_copy_bench; do
    if [[ -x $build/bin/$extra ]]; then
        echo
        echo "== $extra =="
        # A missed goal is reported at the end; the benchmarks after it still run.
        (cd "$work" && QT_QPA_PLATFORM=offscreen "$build/bin/$extra") || missed+=("$extra")
    fi
done

# Opening drawers on the virtual desktop, as the bar does, compared with a file manager there.
if [[ -x $build/bin/pindrel_drawer_bench ]]; then
    echo
    echo "== pindrel_drawer_bench =="
    DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime \
        XDG_CONFIG_HOME=$work/config DRAWER_BENCH_DIR=$work "$build/bin/pindrel_drawer_bench" ||
        missed+=(pindrel_drawer_bench)
fi

# A change of monitors to the bar's new struts, on a desktop of two RandR monitors of its own.
if [[ -x $build/bin/pindrel_monitorchange_bench ]]; then
    echo
    echo "== pindrel_monitorchange_bench =="
    env -u DISPLAY bash "$root/scripts/xsession.sh" start "$work/xsession-monitors" --owner $$ \
        --size 2560x1080 --monitors '*1280x800+0+0,1280x1080+1280+0'
    monitors_display=$(sed -n 's/^DISPLAY=//p' "$work/xsession-monitors/env")
    DISPLAY=$monitors_display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime \
        XDG_CONFIG_HOME=$work/config "$build/bin/pindrel_monitorchange_bench" \
        --pindrel "$build/bin/pindrel" --folder "$work" || missed+=(pindrel_monitorchange_bench)
    bash "$root/scripts/xsession.sh" stop "$work/xsession-monitors" || true
fi

if ((${#missed[@]} > 0)); then
    echo
    echo "run-benchmarks: goal missed or benchmark failed: ${missed[*]}" >&2
    exit 1
fi
