#!/usr/bin/env bash
# Starts Pindrel from a portable install of a finished build ("make run").
#
#   scripts/run-pindrel.sh [BUILD_DIR]
#
# BUILD_DIR (default build) is installed into BUILD_DIR/install: bin/pindrel, bin/background/
# and lib/*.so, which the program finds through its run path $ORIGIN/../lib. Its config.ini
# is written beside it, in BUILD_DIR/install/bin.
#
# With DISPLAY set, Pindrel runs on that display in the foreground. Without one, it runs on a
# virtual desktop of its own (scripts/xsession.sh in BUILD_DIR/xsession: Xvfb, openbox and a
# tint2 taskbar); once its window is on the screen a screenshot of the whole screen goes to
# BUILD_DIR/pindrel-screenshot.png, and everything keeps running until interrupted. Ctrl-C
# closes Pindrel the way "Close Pindrel" does and then ends the session.
#
# Without drawers (a first start) Pindrel asks its first-run question before it shows the bar;
# nothing is pre-seeded here, so the screenshot then shows the question, and is taken again if
# the bar appears later.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
install=$build/install
program=$install/bin/pindrel
session=$build/xsession
screenshot=$build/pindrel-screenshot.png
readonly wait_seconds=30

say() { echo "run-pindrel: $*"; }
fail() {
    echo "run-pindrel: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$install" >/dev/null

# The portable install must not borrow libraries from the build tree or the environment.
libraries=$(env -u LD_LIBRARY_PATH ldd "$program") || fail "cannot inspect $program"
if grep -q 'not found' <<<"$libraries"; then
    fail "the installed program misses libraries:"$'\n'"$(grep 'not found' <<<"$libraries")"
fi
for library in libpindrel_platform libtxini; do
    found=$(awk -v name="$library" 'index($1, name) == 1 {print $3}' <<<"$libraries")
    [[ -n $found && $(realpath "$(dirname "$found")") == "$(realpath "$install/lib")" ]] \
        || fail "$library is not taken from $install/lib (found: ${found:-nothing})"
done

if [[ -n ${DISPLAY:-} ]]; then
    say "starting $program on $DISPLAY"
    exec "$program"
fi

command -v import >/dev/null || fail "import (imagemagick) is needed for the screenshot"

# Its own session (setsid): Ctrl-C in the terminal reaches only this script, which then ends
# Pindrel before the X server, so that Pindrel can still give its screen edge back.
setsid --wait bash "$root/scripts/xsession.sh" start "$session" --owner $$
set -a
# shellcheck source=/dev/null
source "$session/env"
set +a

pindrel_pid=
stop_everything() {
    trap - INT TERM HUP EXIT
    if [[ -n $pindrel_pid ]] && kill -0 "$pindrel_pid" 2>/dev/null; then
        kill -TERM "$pindrel_pid" 2>/dev/null || true
        local deadline=$((SECONDS + 10))
        while kill -0 "$pindrel_pid" 2>/dev/null && ((SECONDS < deadline)); do
            sleep 0.1
        done
        kill -KILL "$pindrel_pid" 2>/dev/null || true
        wait "$pindrel_pid" 2>/dev/null || true
    fi
    bash "$root/scripts/xsession.sh" stop "$session" || true
}
trap stop_everything EXIT

setsid "$program" >"$session/pindrel.log" 2>&1 &
pindrel_pid=$!
say "Pindrel runs on the virtual display $DISPLAY (process $pindrel_pid, log $session/pindrel.log)"

# "bar" once the bar (the program's dock window) is mapped, "question" while the first-run
# question is on the screen instead; nothing while neither is.
window_state() {
    local id types
    for id in $(xdotool search --onlyvisible --pid "$pindrel_pid" 2>/dev/null); do
        types=$(xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null) || continue
        if [[ $types == *_NET_WM_WINDOW_TYPE_DOCK* ]]; then
            echo bar
            return
        fi
        if [[ $types == *_NET_WM_WINDOW_TYPE_DIALOG* ]]; then
            echo question
            return
        fi
    done
}

# A screenshot once the screen has settled: two captures in a row with the same pixels.
take_screenshot() {
    local previous='' current tries=0
    while ((tries < 50)); do
        current=$(import -window root -depth 8 rgb:- 2>/dev/null | md5sum) || current=
        [[ -n $current && $current == "$previous" ]] && break
        previous=$current
        tries=$((tries + 1))
    done
    import -window root "$screenshot"
}

state=
deadline=$((SECONDS + wait_seconds))
while [[ -z $state ]]; do
    if ! kill -0 "$pindrel_pid" 2>/dev/null; then
        wait "$pindrel_pid" && code=0 || code=$?
        cat "$session/pindrel.log" >&2
        fail "Pindrel ended before showing a window (exit code $code; 0 means another copy of this install is running)"
    fi
    ((SECONDS < deadline)) || fail "Pindrel showed no window within $wait_seconds seconds"
    sleep 0.1
    state=$(window_state)
done

take_screenshot
if [[ $state == bar ]]; then
    say "screenshot of the screen with the bar: $screenshot"
else
    say "Pindrel asks its first-run question before it shows the bar (there are no drawers yet)"
    say "screenshot of the screen with the question: $screenshot"
fi
say "running until interrupted (Ctrl-C)"

interrupted=
trap 'interrupted=yes' INT TERM HUP
while [[ -z $interrupted ]] && kill -0 "$pindrel_pid" 2>/dev/null; do
    if [[ $state == question && $(window_state) == bar ]]; then
        state=bar
        take_screenshot
        say "the bar is shown now; screenshot: $screenshot"
    fi
    # Waiting on a background sleep lets a signal end the wait at once.
    sleep 0.5 &
    wait $! || true
done

if [[ -n $interrupted ]]; then
    say "closing Pindrel and the session"
else
    say "Pindrel ended"
fi
