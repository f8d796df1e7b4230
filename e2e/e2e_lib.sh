# Helpers of the end-to-end runs: reporting, polling, private folders, the program's windows,
# keys and the byte-for-byte comparison of files. e2e_begin sets `docs` ("\My Documents" on the
# host); functions leave `output` (poll), `status` (wait_exit), `started` and `main` (start_main).
# shellcheck shell=bash

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../scripts/virtual_display.sh
source "$e2e_here/../scripts/virtual_display.sh"

readonly limit=10 # the longest any single step may take, in seconds
tavik="" artifacts="" output="" status=0 started="" main="" docs="" e2e_temp=""
declare -A e2e_pids=() # the processes started here that may still run, as keys

step() { echo "-- $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

e2e_cleanup() {
    local status=$? log pid
    trap '' INT TERM HUP # a second signal must not cut the clean-up short
    [ "$status" -eq 0 ] || [ -z "$VD_XVFB_PID" ] || import -window root "$artifacts/failure-screen.png" 2>/dev/null
    for pid in "${!e2e_pids[@]}"; do vd_end_process "$pid"; done
    vd_stop
    [ -z "$e2e_temp" ] || rm -rf "$e2e_temp"
    if [ "$status" -ne 0 ]; then
        for log in "$artifacts"/*.log; do
            [ -s "$log" ] && { echo "   $log:" && sed 's/^/     /' "$log"; } >&2
        done
        echo "e2e: FAILED; the screen and the logs are in $artifacts" >&2
    fi
    exit "$status"
}

# The traps, the tools, an emptied artifact folder, and private folders for the device root,
# settings, lock, socket and caches, never the user's: e2e_begin TAVIK ARTIFACTS
e2e_begin() {
    local tool var
    trap e2e_cleanup EXIT
    trap 'trap "" INT TERM HUP; fail "interrupted"' INT TERM HUP
    for tool in xdotool xwininfo import convert iconv; do
        command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed (bash scripts/setup.sh installs it)"
    done
    tavik=$(realpath "$1") artifacts=$2
    [ -x "$tavik" ] || fail "$tavik is not an executable"
    mkdir -p "$artifacts" && rm -f "$artifacts"/* || fail "cannot empty the artifact folder $artifacts"
    e2e_temp=$(mktemp -d "${TMPDIR:-/tmp}/tavik-e2e.XXXXXX") || fail "mktemp failed"
    for var in TAVIK_ROOT XDG_CONFIG_HOME XDG_RUNTIME_DIR XDG_CACHE_HOME XDG_DATA_HOME; do
        mkdir -m 700 "$e2e_temp/$var" && export "$var=$e2e_temp/$var" || fail "cannot make $e2e_temp/$var"
    done
    docs="$TAVIK_ROOT/My Documents"
    mkdir -p "$docs" || fail "cannot make $docs"
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING
}

# Remembers a checklist of "\My Documents" in the profile, as an earlier run would: remember_file NAME
remember_file() { mkdir -p "$XDG_CONFIG_HOME/Vantra" && printf '[MRU]\nFolder=\\\\My Documents\nFileName=%s\n' "$1" >"$XDG_CONFIG_HOME/Vantra/tavik.conf"; }
# Writes the UTF-8 text given in CP932: cp932 FILE TEXT
cp932() { printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$1" || fail "cannot write $1"; }

# Starts tavik in the background, its output in tavik-NAME.log: start_tavik NAME [ARGUMENT...]
start_tavik() {
    "$tavik" "${@:2}" >"$artifacts/tavik-$1.log" 2>&1 &
    started=$!
    e2e_pids[$started]=1
}
# Starts tavik and waits for its main window, the one window titled "tavik": start_main NAME
start_main() {
    start_tavik "$1"
    poll "$limit" tavik_windows --name no || fail "no window titled \"tavik\" within ${limit}s"
    [ "$(wc -w <<<"$output")" -eq 1 ] || fail "more than one window titled \"tavik\": $output"
    main=$output
    poll "$limit" active "$main" || fail "the main window is not active"
}

# Polls until the command prints something, which is left in $output: poll SECONDS COMMAND...
poll() {
    local deadline=$((SECONDS + $1))
    shift
    until output=$("$@"); [ -n "$output" ]; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# Waits until a process started here ends and leaves its exit status in $status: wait_exit PID SECONDS
wait_exit() {
    vd_wait_for "$2" vd__gone "$1" || return 1
    status=0
    wait "$1" || status=$?
    unset "e2e_pids[$1]" # reaped: the id may be given to another process from now on
}

# Visible windows named "tavik": `--name no` the main window and message boxes, `--class yes` menus.
tavik_windows() {
    local id
    for id in $(xdotool search --onlyvisible "$1" '^tavik$' 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q "Override Redirect State: $2" && echo "$id"
    done
}
windows_titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
message_boxes() { tavik_windows --name no | grep -vx "$main"; }
popups() { tavik_windows --class yes; }
no_popup() { [ -n "$(popups)" ] || echo gone; }
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && echo yes; }
same_file() { cmp -s "$1" "$2" && echo same; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1 || fail "xdotool could not click at $2,$3"; }
keys() { xdotool key --clearmodifiers "$@" || fail "xdotool could not press $*"; }
type_text() { xdotool type --delay 15 "$1" || fail "xdotool could not type \"$1\""; }

# The list's rows in the main window, counted from 0, 13 px apart from 47 px down; x=160 lies
# right of every item text the runs use.
readonly row_x=160
row_y() { echo $((47 + 13 * $1)); }
# A selected row is filled with the highlight colour right of its text.
row_selected() {
    import -window "$main" -depth 8 -crop "1x1+$row_x+$(row_y "$1")" +repage -format '%[hex:u.p{0,0}]\n' info: 2>/dev/null | grep -vx FFFFFF
}
select_row() {
    click "$main" "$row_x" "$(row_y "$1")"
    poll "$limit" row_selected "$1" || fail "row $1 is not selected ${limit}s after a click on it"
}

# Opens the "▼" menu and presses keys in it: open_menu [KEY...]
open_menu() {
    click "$main" 40 10
    poll "$limit" popups || fail "no menu opened within ${limit}s of a click on \"▼\""
    [ $# -eq 0 ] || keys "$@"
}
# Presses keys in an open menu or chooser, ending with Return, and waits until it has closed.
choose() {
    keys "$@" Return
    poll "$limit" no_popup || fail "a menu is still open ${limit}s after choosing"
}
# Waits for the window titled TITLE, other than OLD_ID if given, to be active; its id is left in
# $output: wait_window TITLE [OLD_ID]
wait_window() {
    poll "$limit" eval "windows_titled '$1' | grep -vx '${2:-none}' | head -n1" || fail "no new window \"$1\" within ${limit}s"
    poll "$limit" active "$output" || fail "the window \"$1\" is not active"
    output=$(xdotool getactivewindow)
}
# Waits for a message box, answers it by keys and waits until it has closed: answer_box WHAT KEY...
answer_box() {
    local box
    poll "$limit" message_boxes || fail "no message box within ${limit}s: $1"
    box=$(head -n1 <<<"$output")
    poll "$limit" active "$box" || fail "the message box is not active: $1"
    keys "${@:2}"
    # Another box may follow at once: this one must be gone.
    poll "$limit" eval "message_boxes | grep -qx $box || echo gone" || fail "the message box is still open: $1"
}

# Ctrl+Q in the main window, then waits until tavik has ended with status 0: quit PID
quit() {
    poll "$limit" active "$main" || fail "the main window is not active"
    keys ctrl+q
    wait_exit "$1" "$limit" || fail "tavik still runs ${limit}s after Ctrl+Q"
    [ "$status" -eq 0 ] || fail "tavik ended with status $status"
}

# Waits until FILE holds the bytes of the UTF-8 text given in CP932, at most `limit` or the
# seconds given (0: looks once): file_is FILE TEXT WHAT [SECONDS]
file_is() {
    local expected="$artifacts/${1##*/}.expected"
    cp932 "$expected" "$2"
    poll "${4:-$limit}" same_file "$expected" "$1" ||
        fail "$3: ${1##*/} differs (< expected, > found):"$'\n'"$(diff <(as_text "$expected") <(as_text "$1"))"
}
as_text() { iconv -f CP932 -t UTF-8 "$1" | sed 's/\r$/\\r/'; }
