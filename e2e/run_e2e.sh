#!/usr/bin/env bash
# End-to-end run of the built program on a private X display driven by xdotool:
#
#   bash e2e/run_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# Start-up and the main window, the "ツール" menu, the about box, a second start
# while a copy runs, and Ctrl+Q. Screenshots and the program's output stay in the
# artifact folder; on a failure also a picture of the whole screen.
set -uo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2
    exit 2
fi
tavik=$(realpath "$1")
artifacts=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=virtual_display.sh
source "$here/virtual_display.sh"

readonly about_title='tavik のバージョン情報'
readonly step_seconds=10     # the longest any single step may take
readonly second_copy_seconds=5

first_pid=""
second_pid=""
temp_dirs=()

step() { echo "-- $*"; }
ok() { echo "   ok: $*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    if [ "$status" -ne 0 ] && [ -n "${VD_XVFB_PID:-}" ]; then
        import -window root "$artifacts/failure-screen.png" 2>/dev/null &&
            echo "   the screen at the failure: $artifacts/failure-screen.png" >&2
    fi
    [ -z "$second_pid" ] || vd_end_process "$second_pid"
    [ -z "$first_pid" ] || vd_end_process "$first_pid"
    vd_stop
    if [ ${#temp_dirs[@]} -gt 0 ]; then
        rm -rf "${temp_dirs[@]}"
    fi
    if [ "$status" -ne 0 ]; then
        local log
        for log in "$artifacts"/tavik-*.log; do
            [ -s "$log" ] || continue
            echo "   $log:" >&2
            sed 's/^/     /' "$log" >&2
        done
        echo "e2e: FAILED; artifacts kept in $artifacts" >&2
    fi
    exit "$status"
}
trap cleanup EXIT
trap 'fail "interrupted"' INT TERM HUP

# --- helpers over the display

alive() { [ -n "$1" ] && kill -0 "$1" 2>/dev/null; }

window_info() { xwininfo -id "$1" 2>/dev/null; }

is_override_redirect() { window_info "$1" | grep -q 'Override Redirect State: yes'; }

# Visible top-level windows titled exactly "tavik" that the window manager manages:
# Qt names its popup menus after the program too, and those are override-redirect.
main_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name '^tavik$' 2>/dev/null); do
        is_override_redirect "$id" || echo "$id"
    done
}

# Every window titled exactly "tavik", shown or not.
all_tavik_windows() { xdotool search --name '^tavik$' 2>/dev/null; }

# Visible override-redirect top-level windows: menus, tool tips.
popup_windows() {
    local id info
    for id in $(xwininfo -root -children 2>/dev/null | awk '$1 ~ /^0x/ { print $1 }'); do
        info=$(window_info "$id") || continue
        grep -q 'Map State: IsViewable' <<<"$info" && grep -q 'Override Redirect State: yes' <<<"$info" &&
            printf '%d\n' "$id"
    done
}

active_window() { xdotool getactivewindow 2>/dev/null; }

# geometry ID: sets X Y WIDTH HEIGHT (the client area on the screen)
geometry() {
    local info
    info=$(window_info "$1") || return 1
    X=$(awk -F: '/Absolute upper-left X/ { print $2 + 0 }' <<<"$info")
    Y=$(awk -F: '/Absolute upper-left Y/ { print $2 + 0 }' <<<"$info")
    WIDTH=$(awk -F: '/Width/ { print $2 + 0 }' <<<"$info")
    HEIGHT=$(awk -F: '/Height/ { print $2 + 0 }' <<<"$info")
}

# Polls until the function prints something, which is left in $output:
# wait_output SECONDS FUNCTION [ARGS...]
output=""
wait_output() {
    local seconds=$1
    shift
    local deadline=$((SECONDS + seconds))
    while :; do
        output=$("$@")
        [ -z "$output" ] || return 0
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Takes a screenshot of a window once it has been painted (more than a few colours).
screenshot() {
    local id=$1 file=$2
    local deadline=$((SECONDS + step_seconds))
    while :; do
        if import -window "$id" "$file" 2>/dev/null &&
            [ "$(identify -format '%k' "$file" 2>/dev/null || echo 0)" -gt 8 ]; then
            return 0
        fi
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Waits for a process started here to end, leaving its status in $exit_status:
# wait_exit PID SECONDS
exit_status=""
wait_exit() {
    local pid=$1
    vd_wait_for "$2" vd__gone "$pid" || return 1
    exit_status=0
    wait "$pid" || exit_status=$?
    return 0
}

# A listing of a folder that changes when anything in it is written.
folder_state() { (cd "$1" && find . -printf '%p %s %T@\n' | sort); }

# --- set-up

for tool in xdotool xwininfo import identify; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed (bash scripts/setup.sh installs it)"
done
[ -x "$tavik" ] || fail "$tavik is not an executable"
mkdir -p "$artifacts" || fail "cannot make the artifact folder $artifacts"
rm -f "$artifacts"/*.png "$artifacts"/*.log

# The program's device root, settings, lock and socket, and caches live in
# folders of their own, never in the user's.
for var in TAVIK_ROOT XDG_CONFIG_HOME XDG_RUNTIME_DIR XDG_CACHE_HOME XDG_DATA_HOME; do
    dir=$(mktemp -d "${TMPDIR:-/tmp}/tavik-e2e.XXXXXX") || fail "mktemp failed"
    chmod 700 "$dir"
    temp_dirs+=("$dir")
    export "$var=$dir"
done
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
ok "display $DISPLAY"

# --- start-up and the main window

step "start tavik; a window titled exactly \"tavik\" appears"
"$tavik" >"$artifacts/tavik-first.log" 2>&1 &
first_pid=$!
first_running() { alive "$first_pid" || echo "ended"; }
window_or_end() {
    first_running
    main_windows
}
wait_output "$step_seconds" window_or_end || fail "no window titled \"tavik\" within ${step_seconds}s"
found=$output
if [ "$found" = "ended" ]; then
    status=0
    wait "$first_pid" || status=$?
    first_pid=""
    fail "tavik ended with status $status before showing a window"
fi
[ "$(wc -w <<<"$found")" -eq 1 ] || fail "more than one window titled \"tavik\": $found"
main=$found
ok "window $main (process $first_pid)"

step "the main window's client area is about 240 × 320"
geometry "$main" || fail "the window has gone"
main_x=$X main_y=$Y main_w=$WIDTH main_h=$HEIGHT
if [ $((main_w - 240)) -lt -12 ] || [ $((main_w - 240)) -gt 12 ] ||
    [ $((main_h - 320)) -lt -12 ] || [ $((main_h - 320)) -gt 12 ]; then
    fail "the main window is ${main_w}×${main_h}"
fi
ok "${main_w}×${main_h} at ${main_x},${main_y}"

step "screenshot of the main window"
screenshot "$main" "$artifacts/main-window.png" || fail "the main window was not painted within ${step_seconds}s"
ok "$artifacts/main-window.png"

# --- the "ツール" menu and the about box

about_windows() { xdotool search --onlyvisible --name "^${about_title}\$" 2>/dev/null; }
about_is_active() { [ "$(active_window)" = "$about" ] && echo yes; }
about_gone() { about_windows >/dev/null || echo gone; }

# Opens the about box through the "ツール" menu; leaves its window id in $about.
open_about() {
    step "click \"ツール\" (bottom left of the window); a popup menu opens"
    local popups_before
    popups_before=$(popup_windows)
    new_popup() { comm -13 <(sort <<<"$popups_before") <(popup_windows | sort); }
    # The button's text sits about 25 px from the left edge, inside the bar at the bottom.
    xdotool mousemove --window "$main" 25 $((main_h - 14)) click 1 || fail "xdotool could not click"
    wait_output "$step_seconds" new_popup || fail "no popup menu opened within ${step_seconds}s"
    local popup
    popup=$(head -n1 <<<"$output")
    geometry "$popup" || fail "the popup has gone"
    ok "popup $popup, ${WIDTH}×${HEIGHT} at ${X},${Y}"
    if [ $((Y + HEIGHT)) -gt $((main_y + main_h)) ]; then
        fail "the popup reaches below the main window (it opens upwards from the bar)"
    fi

    step "choose \"tavik のバージョン情報...\" (the middle one of its three entries); the about box opens"
    xdotool mousemove --window "$popup" $((WIDTH / 2)) $((HEIGHT / 2)) click 1 || fail "xdotool could not click"
    wait_output "$step_seconds" about_windows || fail "no window \"$about_title\" within ${step_seconds}s"
    about=$(head -n1 <<<"$output")
    ok "window $about"
}

# close_about HOW: "Return", "Escape" or "OK" (a click on the OK button at its top right).
close_about() {
    local how=$1
    step "$how closes the about box"
    wait_output "$step_seconds" about_is_active || fail "the about box is not the active window"
    if [ "$how" = "OK" ]; then
        geometry "$about" || fail "the about box has gone"
        xdotool mousemove --window "$about" $((WIDTH - 20)) 12 click 1 || fail "xdotool could not click"
    else
        xdotool key "$how" || fail "xdotool could not press $how"
    fi
    wait_output "$step_seconds" about_gone || fail "the about box is still open ${step_seconds}s after $how"
    alive "$first_pid" || fail "tavik ended when the about box closed"
    ok "closed; tavik still runs"
}

open_about

step "the about box is centred over the main window"
geometry "$about" || fail "the about box has gone"
dx=$(((X + WIDTH / 2) - (main_x + main_w / 2)))
dy=$(((Y + HEIGHT / 2) - (main_y + main_h / 2)))
if [ "${dx#-}" -gt 25 ] || [ "${dy#-}" -gt 25 ]; then
    fail "its centre is ${dx},${dy} px from the main window's (${WIDTH}×${HEIGHT} at ${X},${Y})"
fi
ok "${WIDTH}×${HEIGHT}, centre ${dx},${dy} px from the main window's"

step "screenshot of the about box"
screenshot "$about" "$artifacts/about-box.png" || fail "the about box was not painted within ${step_seconds}s"
ok "$artifacts/about-box.png"

close_about Return
open_about
close_about Escape
open_about
close_about OK

# --- a second start

step "minimise the main window, so that bringing it back proves the activation"
xdotool windowminimize --sync "$main" || fail "xdotool could not minimise the window"
main_not_active() { [ "$(active_window)" != "$main" ] && echo yes; }
wait_output "$step_seconds" main_not_active || fail "the main window stays active after minimising"
ok "minimised; active window now: $(active_window || echo none)"

step "a second tavik ends within ${second_copy_seconds}s with status 0 and without a window"
settings_before=$(folder_state "$XDG_CONFIG_HOME")
started=$SECONDS
"$tavik" >"$artifacts/tavik-second.log" 2>&1 &
second_pid=$!
wait_exit "$second_pid" "$second_copy_seconds" ||
    fail "the second tavik still runs after ${second_copy_seconds}s"
second_pid=""
[ "$exit_status" -eq 0 ] || fail "the second tavik ended with status $exit_status"
ok "ended with status 0 after about $((SECONDS - started))s"

step "the first window is shown again and active"
main_is_active() { [ "$(active_window)" = "$main" ] && echo yes; }
wait_output "$step_seconds" main_is_active ||
    fail "the active window is $(active_window || echo none), not the first window $main"
ok "window $main is active"

step "there is still exactly one window titled \"tavik\", the first one"
windows=$(main_windows)
[ "$windows" = "$main" ] || fail "windows titled \"tavik\": $(tr '\n' ' ' <<<"$windows")"
ok "only $main"

step "the second start changed no setting"
[ "$(folder_state "$XDG_CONFIG_HOME")" = "$settings_before" ] ||
    fail "the settings folder changed: $(folder_state "$XDG_CONFIG_HOME" | tr '\n' ' ')"
ok "settings folder unchanged"

# --- Ctrl+Q

step "Ctrl+Q in the main window ends tavik with status 0"
xdotool windowactivate --sync "$main" 2>/dev/null || true
wait_output "$step_seconds" main_is_active || fail "the main window cannot be activated"
xdotool key --clearmodifiers ctrl+q || fail "xdotool could not press Ctrl+Q"
wait_exit "$first_pid" "$step_seconds" || fail "tavik still runs ${step_seconds}s after Ctrl+Q"
first_pid=""
[ "$exit_status" -eq 0 ] || fail "tavik ended with status $exit_status"
ok "ended with status 0"

step "nothing of tavik is left"
[ -z "$(all_tavik_windows)" ] || fail "windows titled \"tavik\" remain: $(all_tavik_windows | tr '\n' ' ')"
leftovers=$(find "$XDG_RUNTIME_DIR" -mindepth 1)
[ -z "$leftovers" ] || fail "the lock or the socket remain: $leftovers"
ok "no window, no process started here, no lock file and no socket"

echo "e2e: all checks passed; screenshots in $artifacts"
