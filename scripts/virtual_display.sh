# A private virtual X display with a window manager, for running tavik where there
# is no display (`make run` on a server), for the end-to-end test and for the
# start-up benchmark. Source it from bash, then:
#
#   vd_start 1024x768x24   # Xvfb on a free display number, openbox on it; exports DISPLAY and XAUTHORITY
#   ...                    # run X clients
#   vd_stop                # ends openbox and Xvfb and removes the private folder
#
# The display takes connections only on its local socket and only from a client that
# knows its cookie, kept in a file that only this user can read.
# shellcheck shell=bash

VD_DIR=""
VD_XVFB_PID=""
VD_WM_PID=""
VD_DISPLAY=""

# Polls a command until it succeeds or `seconds` have passed: vd_wait_for SECONDS CMD...
vd_wait_for() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

vd__alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }

vd__display_number_written() {
    vd__alive "$VD_XVFB_PID" || return 0   # Xvfb has ended: stop waiting, the caller sees why
    [ -s "$VD_DIR/display" ] && grep -q '^[0-9][0-9]*$' "$VD_DIR/display"
}

vd__window_manager_running() {
    vd__alive "$VD_WM_PID" || return 0
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

# Every function here can be called under `set -e`.

# vd_start [GEOMETRY]: 0 when the display and its window manager run; otherwise
# prints why on stderr, leaves nothing running and returns 1.
vd_start() {
    local geometry=${1:-1024x768x24}
    local tool
    for tool in Xvfb openbox xauth xprop; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "virtual display: '$tool' is not installed (bash scripts/setup.sh installs it)" >&2
            return 1
        fi
    done
    VD_DIR=$(mktemp -d "${TMPDIR:-/tmp}/tavik-display.XXXXXX") || return 1
    chmod 700 "$VD_DIR"

    local cookie
    cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    # The server reads every cookie in its file whatever display it names; clients
    # look for the display's own entry, added below once the number is known.
    export XAUTHORITY="$VD_DIR/Xauthority"
    (umask 077 && : >"$XAUTHORITY")
    if ! xauth -q -f "$XAUTHORITY" add :0 MIT-MAGIC-COOKIE-1 "$cookie"; then
        vd_stop
        return 1
    fi

    # -displayfd: Xvfb takes the first free display number itself and writes it once
    # it accepts connections, so two runs at the same moment never collide.
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp -auth "$XAUTHORITY" -noreset \
        3>"$VD_DIR/display" >"$VD_DIR/xvfb.log" 2>&1 &
    VD_XVFB_PID=$!
    if ! vd_wait_for 15 vd__display_number_written || ! vd__alive "$VD_XVFB_PID"; then
        echo "virtual display: Xvfb did not start:" >&2
        sed 's/^/  /' "$VD_DIR/xvfb.log" >&2
        vd_stop
        return 1
    fi
    VD_DISPLAY=":$(cat "$VD_DIR/display")"
    if ! xauth -q -f "$XAUTHORITY" add "$VD_DISPLAY" MIT-MAGIC-COOKIE-1 "$cookie"; then
        vd_stop
        return 1
    fi
    export DISPLAY=$VD_DISPLAY
    unset WAYLAND_DISPLAY

    # Plain openbox (not openbox-session): no autostart programs, the stock configuration.
    openbox --sm-disable >"$VD_DIR/openbox.log" 2>&1 &
    VD_WM_PID=$!
    if ! vd_wait_for 15 vd__window_manager_running || ! vd__alive "$VD_WM_PID"; then
        echo "virtual display: openbox did not start on $DISPLAY:" >&2
        sed 's/^/  /' "$VD_DIR/openbox.log" >&2
        vd_stop
        return 1
    fi
    return 0
}

# Ends a process started by this shell: TERM, then KILL if it has not gone within
# 3 seconds. Safe under `set -e`: it never fails.
vd_end_process() {
    local pid=$1
    vd__alive "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null || true
    if ! vd_wait_for 3 vd__gone "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
    return 0
}

vd__gone() { ! kill -0 "$1" 2>/dev/null; }

vd_stop() {
    vd_end_process "$VD_WM_PID"
    vd_end_process "$VD_XVFB_PID"
    VD_WM_PID=""
    VD_XVFB_PID=""
    if [ -n "$VD_DIR" ]; then
        rm -rf "$VD_DIR"
        VD_DIR=""
    fi
}
