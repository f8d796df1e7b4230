#!/usr/bin/env bash
# Starts the built tavik: bash scripts/run.sh [BUILD_DIR]
#
# On a desktop it simply runs the program. Without a display (a server reached over
# ssh) it starts a private virtual display with a window manager, shares it through
# a VNC server that listens on the loopback interface only, and runs tavik there;
# when tavik ends, the VNC server and the display end with it.
# shellcheck disable=SC2317  # the functions below run from traps and polls
set -euo pipefail

build=${1:-build}
program="$build/app/tavik"
if [ ! -x "$program" ]; then
    echo "run: $program does not exist; build it first (make build)" >&2
    exit 1
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=virtual_display.sh
source "$here/virtual_display.sh"

if ! command -v x11vnc >/dev/null 2>&1; then
    echo "run: there is no display and x11vnc is not installed (bash scripts/setup.sh installs it)" >&2
    exit 1
fi

echo "run: there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set); starting a private virtual display"

tavik_pid=""
vnc_pid=""
vnc_log=""
cleanup() {
    trap '' INT TERM HUP  # further signals must not cut the clean-up short
    if [ -n "$tavik_pid" ]; then
        vd_end_process "$tavik_pid"
    fi
    if [ -n "$vnc_pid" ]; then
        vd_end_process "$vnc_pid"
    fi
    [ -z "$vnc_log" ] || rm -f "$vnc_log"
    vd_stop
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

vd_start 1024x768x24

port_in_use() {
    ss -Hltn "sport = :$1" 2>/dev/null | grep -q .
}

listening_addresses() {
    ss -Hltnp "sport = :$1" 2>/dev/null | awk -v pid="pid=$vnc_pid," 'index($0, pid) { print $4 }'
}

vnc_listens() {
    kill -0 "$vnc_pid" 2>/dev/null || return 0   # ended: stop waiting, checked below
    [ -n "$(listening_addresses "$port")" ]
}

# The first free port from 5900 up; should another program take it in the meantime,
# x11vnc fails to start and the next port is tried.
port=5900
vnc_log=$(mktemp "${TMPDIR:-/tmp}/tavik-x11vnc.XXXXXX")
while :; do
    while port_in_use "$port"; do
        port=$((port + 1))
    done
    if [ "$port" -gt 5999 ]; then
        echo "run: no free VNC port between 5900 and 5999" >&2
        exit 1
    fi
    # -localhost: connections from this machine only (IPv4 127.0.0.1 and IPv6 ::1).
    x11vnc -display "$DISPLAY" -localhost -forever -shared -nopw -quiet \
        -rfbport "$port" >"$vnc_log" 2>&1 &
    vnc_pid=$!
    vd_wait_for 10 vnc_listens || true
    if kill -0 "$vnc_pid" 2>/dev/null && [ -n "$(listening_addresses "$port")" ]; then
        break
    fi
    vd_end_process "$vnc_pid"
    vnc_pid=""
    if ! port_in_use "$port"; then
        echo "run: x11vnc did not start:" >&2
        sed 's/^/  /' "$vnc_log" >&2
        exit 1
    fi
    port=$((port + 1))
done

# The server must not be reachable from the network: every address it listens on is a loopback one.
while read -r address; do
    case "$address" in
        127.0.0.1:"$port" | "[::1]:$port") ;;
        *)
            echo "run: x11vnc listens on $address, not only on the loopback interface; stopping" >&2
            exit 1
            ;;
    esac
done < <(listening_addresses "$port")

echo "VNC: 127.0.0.1:$port (display $DISPLAY) — from another machine: ssh -L $port:127.0.0.1:$port $(hostname), then connect a VNC viewer to localhost:$port"

# Not exec'd: the script waits for tavik and then ends the VNC server and the display.
# Waiting on a background job lets Ctrl+C or a TERM sent to this script reach the
# trap at once, which then ends tavik as well.
"$program" &
tavik_pid=$!
status=0
wait "$tavik_pid" || status=$?
tavik_pid=""
exit "$status"
