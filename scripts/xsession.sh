#!/usr/bin/env bash
# A throw-away X session for the integration tests and for "make run" without a display:
# a virtual screen (Xvfb, 1280x800x24 unless told otherwise), a window manager and its panel
# docked at the bottom, as a desktop user would have them: openbox with a tint2 taskbar (the
# default), icewm with its own taskbar, or fluxbox with its own toolbar.
#
#   xsession.sh start DIR [--bare] [--owner PID] [--wm openbox|icewm|fluxbox] [--size WxH]
#                         [--monitors LIST] [--dpi N]
#   xsession.sh stop DIR
#
# start  brings the session up and returns once the window manager runs, the panel has reserved
#        its band and the work area shows it; then DIR/env holds "DISPLAY=:N" (to be sourced or
#        read by a program). DIR receives the generated configuration, the logs and the process
#        ids; it is created when missing.
#        --bare       only the X server: no window manager, no panel (a display without EWMH)
#        --owner PID  stop the session by itself when process PID ends (a test that crashed
#                     must not leave servers behind)
#        --wm NAME    the window manager and its panel: openbox with tint2 (the default), icewm
#                     with its taskbar, fluxbox with its toolbar
#        --size WxH   the screen's size in pixels (1280x800)
#        --monitors LIST
#                     RandR monitors made before the window manager starts (xrandr
#                     --setmonitor): comma-separated WxH+X+Y, a leading "*" marks the primary
#                     one; the first takes the screen's output
#        --dpi N      Xft.dpi in the server's resources, as a desktop's scaling setting leaves it
# stop   ends what start started in DIR (only those processes) and waits for them to go.
#
# The exit code is 0 on success; start gives up after about 15 seconds and cleans up.
set -euo pipefail

screen_size=1280x800
readonly panel_height=30
readonly wait_seconds=15

usage() {
    echo "usage: $0 start DIR [--bare] [--owner PID] [--wm openbox|icewm|fluxbox] [--size WxH]" \
        "[--monitors LIST] [--dpi N] | $0 stop DIR" >&2
    exit 2
}
# Polls a command until it succeeds or the deadline passes; no fixed waits.
wait_for() {
    local what=$1
    shift
    local deadline=$((SECONDS + wait_seconds))
    until "$@" >/dev/null 2>&1; do
        if ((SECONDS >= deadline)); then
            echo "xsession: timed out waiting for $what" >&2
            return 1
        fi
        sleep 0.05
    done
}

# A process that has ended but was not reaped yet (its parent is gone) counts as ended.
pid_alive() {
    [[ -n ${1:-} ]] && kill -0 "$1" 2>/dev/null || return 1
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [[ $state != Z ]]
}

stop_session() {
    local dir=$1 name pid
    [[ -d $dir ]] || return 0
    # Watcher first, so that it does not race the rest; then the clients before the server.
    for name in watcher tint2 wm xvfb; do
        [[ -f $dir/$name.pid ]] || continue
        pid=$(<"$dir/$name.pid")
        if pid_alive "$pid"; then
            kill "$pid" 2>/dev/null || true
            local deadline=$((SECONDS + 5))
            while pid_alive "$pid" && ((SECONDS < deadline)); do sleep 0.05; done
            if pid_alive "$pid"; then
                kill -9 "$pid" 2>/dev/null || true
            fi
        fi
        rm -f "$dir/$name.pid"
    done
    rm -f "$dir/env"
}

write_openbox_rc() {
    # One desktop and no margins keep the geometry of the tests plain; openbox fills in the rest
    # from its defaults.
    cat >"$1/openbox-rc.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <desktops><number>1</number></desktops>
  <margins><top>0</top><bottom>0</bottom><left>0</left><right>0</right></margins>
  <focus><focusNew>yes</focusNew></focus>
</openbox_config>
EOF
}

write_tint2rc() {
    # A bottom panel across the screen that reserves exactly its own height; a task list and no
    # clock, so nothing in it changes by itself while the tests run.
    cat >"$1/tint2rc" <<EOF
panel_items = T
panel_position = bottom center horizontal
panel_size = 100% $panel_height
panel_margin = 0 0
panel_padding = 0 0 0
panel_dock = 0
panel_layer = top
strut_policy = follow_size
wm_menu = 0
autohide = 0
taskbar_mode = single_desktop
task_text = 0
task_icon = 0
EOF
}

# The panel's window: tint2 names its class "Tint2" and sets the strut once it has placed itself.
panel_window() {
    local id
    for id in $(xdotool search --classname tint2 2>/dev/null); do
        if xprop -id "$id" _NET_WM_STRUT_PARTIAL 2>/dev/null | grep -q ' = '; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

wm_running() {
    local id
    id=$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | awk '/window id/ {print $NF}')
    [[ -n $id ]] && xprop -id "$id" _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "$id"
}

# _NET_WORKAREA of desktop 0 ends where the panel begins: with "exact" right at the tint2
# panel's top, otherwise anywhere above the screen's bottom (a panel the window manager draws
# itself, or tint2 on one monitor of several).
workarea_shows_panel() {
    local values height screen_height
    values=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    [[ -n $values ]] || return 1
    height=$(cut -d, -f4 <<<"$values")
    screen_height=${screen_size#*x}
    if [[ $1 == exact ]]; then
        ((height == screen_height - panel_height))
    else
        ((height < screen_height))
    fi
}

write_icewm_preferences() {
    # The taskbar at the bottom, with nothing in it that changes by itself.
    mkdir -p "$1/icewm"
    cat >"$1/icewm/preferences" <<'EOF'
ShowTaskBar=1
TaskBarAtTop=0
TaskBarAutoHide=0
TaskBarShowClock=0
TaskBarShowAPMStatus=0
TaskBarShowMailboxStatus=0
TaskBarShowCPUStatus=0
TaskBarShowNetStatus=0
TaskBarShowMEMStatus=0
TaskBarShowWorkspaces=0
ShowWelcome=0
EOF
    : >"$1/icewm/toolbar"
}

write_fluxbox_init() {
    # The toolbar across the bottom, one workspace, no menus or keys of the user's.
    mkdir -p "$1/fluxbox"
    cat >"$1/fluxbox/init" <<EOF
session.screen0.toolbar.visible: true
session.screen0.toolbar.placement: BottomCenter
session.screen0.toolbar.widthPercent: 100
session.screen0.toolbar.autoHide: false
session.screen0.toolbar.maxOver: false
session.screen0.toolbar.tools: iconbar
session.screen0.workspaces: 1
session.menuFile: $1/fluxbox/menu
session.keyFile: $1/fluxbox/keys
session.appsFile: $1/fluxbox/apps
EOF
    : >"$1/fluxbox/menu"
    : >"$1/fluxbox/keys"
    : >"$1/fluxbox/apps"
}

# The monitors of --monitors: the first takes the screen's output, the others none.
make_monitors() {
    local geometry name size offset w h output=screen n=0
    local -a geometries
    IFS=, read -ra geometries <<<"$1"
    for geometry in "${geometries[@]}"; do
        n=$((n + 1))
        name=M$n
        if [[ $geometry == \** ]]; then
            name="*$name"
            geometry=${geometry#\*}
        fi
        size=${geometry%%+*}
        offset=${geometry#"$size"}
        w=${size%x*}
        h=${size#*x}
        # Millimetres for about 96 DPI.
        xrandr --setmonitor "$name" "$w/$((w * 254 / 960))x$h/$((h * 254 / 960))$offset" \
            "$output" || return 1
        output=none
    done
}

start_session() {
    local dir=$1 bare=$2 owner=$3 wm=$4 monitors=$5 dpi=$6
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    stop_session "$dir"
    rm -f "$dir/display"

    # -displayfd: the server takes the first free display number and writes it to us, so that
    # parallel sessions never collide.
    Xvfb -displayfd 3 -screen 0 "${screen_size}x24" -nolisten tcp -noreset \
        3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    if ! wait_for "the X server" grep -q '[0-9]' "$dir/display"; then
        stop_session "$dir"
        return 1
    fi
    DISPLAY=":$(tr -dc '0-9' <"$dir/display")"
    export DISPLAY

    if [[ -n $dpi ]] && ! echo "Xft.dpi: $dpi" | xrdb -merge -nocpp; then
        echo "xsession: cannot set Xft.dpi" >&2
        stop_session "$dir"
        return 1
    fi
    if [[ -n $monitors ]] && ! make_monitors "$monitors" >"$dir/xrandr.log" 2>&1; then
        echo "xsession: cannot make the monitors $monitors: $(<"$dir/xrandr.log")" >&2
        stop_session "$dir"
        return 1
    fi

    if [[ $bare != yes ]]; then
        case $wm in
        openbox)
            write_openbox_rc "$dir"
            openbox --config-file "$dir/openbox-rc.xml" >"$dir/wm.log" 2>&1 &
            ;;
        icewm)
            write_icewm_preferences "$dir"
            ICEWM_PRIVCFG=$dir/icewm icewm >"$dir/wm.log" 2>&1 &
            ;;
        fluxbox)
            write_fluxbox_init "$dir"
            fluxbox -rc "$dir/fluxbox/init" >"$dir/wm.log" 2>&1 &
            ;;
        esac
        echo $! >"$dir/wm.pid"
        if ! wait_for "the window manager" wm_running; then
            stop_session "$dir"
            return 1
        fi
        local workarea=any
        if [[ $wm == openbox ]]; then
            write_tint2rc "$dir"
            tint2 -c "$dir/tint2rc" >"$dir/tint2.log" 2>&1 &
            echo $! >"$dir/tint2.pid"
            if ! wait_for "the panel" panel_window; then
                stop_session "$dir"
                return 1
            fi
            [[ -n $monitors ]] || workarea=exact
        fi
        if ! wait_for "the work area" workarea_shows_panel "$workarea"; then
            stop_session "$dir"
            return 1
        fi
    fi

    if [[ -n $owner ]]; then
        # Detached from our standard streams so that a caller reading them is not kept waiting.
        (
            trap - EXIT
            # "wait" rather than a plain sleep, so that stop can end the watcher at once.
            while pid_alive "$owner"; do
                sleep 0.5 &
                wait $!
            done
            rm -f "$dir/watcher.pid"
            stop_session "$dir"
        ) </dev/null >/dev/null 2>&1 &
        echo $! >"$dir/watcher.pid"
    fi

    echo "DISPLAY=$DISPLAY" >"$dir/env"
}

(($# >= 2)) || usage
command=$1
dir=$2
shift 2

case $command in
start)
    bare=no
    owner=
    wm=openbox
    monitors=
    dpi=
    while (($#)); do
        case $1 in
        --bare) bare=yes ;;
        --owner | --wm | --size | --monitors | --dpi)
            (($# >= 2)) || usage
            case $1 in
            --owner) owner=$2 ;;
            --wm) wm=$2 ;;
            --size) screen_size=$2 ;;
            --monitors) monitors=$2 ;;
            --dpi) dpi=$2 ;;
            esac
            shift
            ;;
        *) usage ;;
        esac
        shift
    done
    [[ $wm == openbox || $wm == icewm || $wm == fluxbox ]] || usage
    [[ $screen_size =~ ^[0-9]+x[0-9]+$ ]] || usage
    start_session "$dir" "$bare" "$owner" "$wm" "$monitors" "$dpi"
    ;;
stop)
    (($# == 0)) || usage
    stop_session "$dir"
    ;;
*) usage ;;
esac
