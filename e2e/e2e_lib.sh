# Helpers shared by the end-to-end scripts: reporting, polling, the program's windows,
# screenshots, private folders for one run, and the clean-up at the end. Source it from
# bash, then:
#
#   e2e_begin PATH/TO/tavik ARTIFACT_FOLDER   # checks tools, sets traps, makes the folders
#   vd_start 1024x768x24                      # from scripts/virtual_display.sh
#   start_main first                          # tavik, its output in ARTIFACT_FOLDER/tavik-first.log
#   ...
#
# Sets: tavik, artifacts, limit, TAVIK_ROOT, XDG_* folders; `output`, `status`, `started`
# and `main` are left by the functions below. A script that compares its checklist on disk sets
# `list` to the file's path.
# shellcheck shell=bash

e2e_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR source=../scripts/virtual_display.sh
source "$e2e_here/../scripts/virtual_display.sh"

readonly limit=10 # the longest any single step may take, in seconds
tavik="" artifacts="" output="" status=0 started="" main="" list=""
e2e_pids=() e2e_temp_dirs=()

step() { echo "-- $*"; }
ok() { echo "   ok: $*"; }
fail() { echo "FAIL: $*" >&2; exit 1; }

e2e_cleanup() {
    local status=$? log pid
    trap '' INT TERM HUP # a second signal must not cut the clean-up short
    if [ "$status" -ne 0 ] && [ -n "$VD_XVFB_PID" ] && import -window root "$artifacts/failure-screen.png" 2>/dev/null; then
        echo "   the screen at the failure: $artifacts/failure-screen.png" >&2
    fi
    # Only processes not yet reaped are listed, so no id here can belong to another process.
    for pid in "${e2e_pids[@]}"; do
        vd_end_process "$pid"
    done
    vd_stop
    [ ${#e2e_temp_dirs[@]} -eq 0 ] || rm -rf "${e2e_temp_dirs[@]}"
    if [ "$status" -ne 0 ]; then
        for log in "$artifacts"/tavik-*.log; do
            [ -s "$log" ] && { echo "   $log:" && sed 's/^/     /' "$log"; } >&2
        done
        echo "e2e: FAILED; artifacts kept in $artifacts" >&2
    fi
    exit "$status"
}

# e2e_begin TAVIK ARTIFACTS: the traps, the tools, the artifact folder (emptied of earlier
# screenshots and logs), and private folders for the device root, settings, lock, socket
# and caches, never the user's.
e2e_begin() {
    local tool var dir
    trap e2e_cleanup EXIT
    trap 'trap "" INT TERM HUP; fail "interrupted"' INT TERM HUP
    for tool in xdotool xwininfo import identify; do
        command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed (bash scripts/setup.sh installs it)"
    done
    tavik=$(realpath "$1")
    artifacts=$2
    [ -x "$tavik" ] || fail "$tavik is not an executable"
    mkdir -p "$artifacts" || fail "cannot make the artifact folder $artifacts"
    rm -f "$artifacts"/*.png "$artifacts"/*.log
    for var in TAVIK_ROOT XDG_CONFIG_HOME XDG_RUNTIME_DIR XDG_CACHE_HOME XDG_DATA_HOME; do
        dir=$(mktemp -d "${TMPDIR:-/tmp}/tavik-e2e.XXXXXX") || fail "mktemp failed"
        e2e_temp_dirs+=("$dir")
        chmod 700 "$dir" && export "$var=$dir"
    done
    export QT_QPA_PLATFORM=xcb
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_ENABLE_HIGHDPI_SCALING
}

# Remembers a checklist in the profile, as an earlier run would have: remember_file FILENAME
# (in "\My Documents").
remember_file() {
    mkdir -p "$XDG_CONFIG_HOME/Vantra" || fail "cannot make the settings folder"
    printf '[MRU]\nFolder=\\\\My Documents\nFileName=%s\n' "$1" >"$XDG_CONFIG_HOME/Vantra/tavik.conf"
}

# Starts tavik in the background, its output in $artifacts/tavik-NAME.log; its id is left
# in $started: start_tavik NAME
start_tavik() {
    "$tavik" >"$artifacts/tavik-$1.log" 2>&1 &
    started=$!
    e2e_pids+=("$started")
}

# Starts tavik as start_tavik does and waits for its main window, the one window titled
# "tavik", whose id is left in $main: start_main NAME
start_main() {
    start_tavik "$1"
    poll "$limit" e2e__main_or_end "$started" || fail "no window titled \"tavik\" within ${limit}s"
    [[ $output != ended* ]] || { wait_exit "$started" 0; fail "tavik ended with status $status before showing a window"; }
    [ "$(wc -w <<<"$output")" -eq 1 ] || fail "more than one window titled \"tavik\": $output"
    # shellcheck disable=SC2034 # read by the scripts
    main=$output
}
e2e__main_or_end() { kill -0 "$1" 2>/dev/null || echo ended; tavik_windows --name no; }

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
    local pid=$1 kept=() p
    vd_wait_for "$2" vd__gone "$pid" || return 1
    status=0
    wait "$pid" || status=$?
    # Reaped: its id may be given to another process from now on.
    for p in "${e2e_pids[@]}"; do
        [ "$p" = "$pid" ] || kept+=("$p")
    done
    e2e_pids=("${kept[@]}")
}

# Visible windows named exactly "tavik": `tavik_windows --name no` gives the main window (titled
# so and managed) and the program's message boxes, `tavik_windows --class yes` Qt's popup menus,
# override-redirect windows of the program's class that carry its name only in _NET_WM_NAME,
# which `xdotool --name` does not read.
tavik_windows() {
    local id
    for id in $(xdotool search --onlyvisible "$1" '^tavik$' 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q "Override Redirect State: $2" && echo "$id"
    done
}
# Main window coordinates, found on screenshots of the 240×320 window: "▼"; the rows of the
# list, counted from 0 (13 px apart, row 0 centred 47 px down; x=160 lies right of every
# item text the scripts use).
readonly menu_x=40 menu_y=10 row_x=160
row_y() { echo $((47 + 13 * $1)); }
# One pixel of the main window at x, y as RRGGBB: pixel X Y
pixel() { import -window "$main" -crop "1x1+$1+$2" +repage -format '%[hex:u.p{0,0}]' info: 2>/dev/null; }
# A selected row is filled with the highlight colour right of its text.
row_selected() { local p; p=$(pixel "$row_x" "$(row_y "$1")") && [ -n "$p" ] && [ "$p" != FFFFFF ] && echo yes; }
# The number of colours along the middle lines of a row's item column: one for an empty row, many
# where text is drawn. Each line is counted alone: a focused list shades its selection top to bottom.
row_colours() {
    local y most=0 count
    for y in -1 0 1; do
        count=$(import -window "$main" -crop "110x1+34+$(($(row_y "$1") + y))" +repage -format '%k' info: 2>/dev/null) || return 1
        [ "$count" -gt "$most" ] && most=$count
    done
    echo "$most"
}
row_empty() { [ "$(row_colours "$1")" = 1 ] && echo yes; }
row_has_text() { [ "$(row_colours "$1")" -gt 1 ] 2>/dev/null && echo yes; }
same_file() { cmp -s "$1" "$2" && echo same; }

# Writes a file of expected bytes into the artifact folder: the UTF-8 text given, in CP932:
# write_expected NAME TEXT
write_expected() { printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$artifacts/$1" || fail "cannot write $artifacts/$1"; }
# The expected file and the checklist $list side by side as text, line ends shown, for a
# failure message: differences EXPECTED
differences() {
    diff <(iconv -f CP932 -t UTF-8 "$1" | cat -A) <(iconv -f CP932 -t UTF-8 "$list" | cat -A) | sed 's/^/     /'
}
# Waits until the checklist $list on disk is the expected file NAME of the artifact folder,
# at most `limit` or the seconds given (0: looks once): checklist_is NAME WHAT [SECONDS]
checklist_is() {
    poll "${3:-$limit}" same_file "$artifacts/$1" "$list" ||
        fail "$2: ${list##*/} is not $1 (< expected, > found):"$'\n'"$(differences "$artifacts/$1")"
}

# The item editor, titled "項目"; the program's message boxes, titled "tavik" like the main
# window; its popup menus.
readonly editor_title='項目'
editor_windows() { xdotool search --onlyvisible --name "^${editor_title}\$" 2>/dev/null; }
no_editor() { editor_windows >/dev/null || echo gone; }
message_boxes() { tavik_windows --name no | grep -vx "$main"; }
no_message_box() { [ -n "$(message_boxes)" ] || echo gone; }
popups() { tavik_windows --class yes; }
no_popup() { [ -n "$(popups)" ] || echo gone; }
other_editor() { editor_windows | grep -vx "$1"; }

select_row() {
    xdotool mousemove --window "$main" "$row_x" "$(row_y "$1")" click 1 || fail "xdotool could not click row $1 (from 0)"
    poll "$limit" row_selected "$1" || fail "row $1 (from 0) is not selected ${limit}s after a click on it"
}

# Opens the "▼" menu and waits until it is painted, keeping its picture: open_menu PICTURE
open_menu() {
    poll "$limit" active "$main" || fail "the main window is not active"
    xdotool mousemove --window "$main" "$menu_x" "$menu_y" click 1 || fail "xdotool could not click \"▼\""
    poll "$limit" popups || fail "no popup menu opened within ${limit}s of a click on \"▼\""
    menu=$(head -n1 <<<"$output")
    poll "$limit" shot "$menu" "$artifacts/$1" || fail "the popup menu was not painted within ${limit}s"
}

# Presses keys in an open menu, ending with Return, and waits until every menu has closed.
choose() {
    xdotool key "$@" Return || fail "xdotool could not press keys"
    poll "$limit" no_popup || fail "a popup menu is still open ${limit}s after choosing"
}

# Waits for the item editor (other than the window given, if any) to be open and active;
# its id is left in $editor: wait_editor [OLD_ID]
wait_editor() {
    if [ $# -eq 1 ]; then
        poll "$limit" other_editor "$1" || fail "no new window \"$editor_title\" within ${limit}s"
    else
        poll "$limit" editor_windows || fail "no window \"$editor_title\" within ${limit}s"
    fi
    editor=$(head -n1 <<<"$output")
    poll "$limit" active "$editor" || fail "the item editor is not the active window"
}

# Opens the item editor on a row by "▼" → "編集": open_editor_on ROW (from 0)
open_editor_on() {
    select_row "$1"
    open_menu "menu-edit-$1.png"
    choose Down Down
    wait_editor
}

# Waits for a message box, keeps its picture, answers it with keys and waits until it has
# closed: answer_box PICTURE KEY...
answer_box() {
    local picture=$1 box
    shift
    poll "$limit" message_boxes || fail "no message box within ${limit}s"
    box=$(head -n1 <<<"$output")
    poll "$limit" shot "$box" "$artifacts/$picture" || fail "the message box was not painted"
    xdotool key "$@" || fail "xdotool could not press keys"
    # Another box may follow at once: this one must be gone.
    poll "$limit" box_gone "$box" || fail "the message box is still open ${limit}s after $*"
}
box_gone() { message_boxes | grep -qx "$1" || echo gone; }

# Presses Ctrl+Q in the main window: quit
quit() {
    poll "$limit" active "$main" || fail "the main window is not active"
    xdotool key --clearmodifiers ctrl+q || fail "xdotool could not press Ctrl+Q"
}
# Waits until tavik has ended with status 0: ended PID
ended() {
    wait_exit "$1" "$limit" || fail "tavik still runs ${limit}s after it was told to end"
    [ "$status" -eq 0 ] || fail "tavik ended with status $status"
}

no_tavik_window() { xdotool search --name '^tavik$' >/dev/null 2>&1 || echo none; }
active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && echo yes; }
inactive() { active "$1" >/dev/null || echo yes; }
near() { local d=$(($1 - $2)); [ "${d#-}" -le 12 ] && echo yes; }

# Binds characters the keyboard map lacks to spare keys for the rest of the run: bind_characters TEXT
# xdotool types such a character by binding it to a spare key for a moment; a program that reads
# the map only after the unbinding sees an unbound key and loses the character, and a click
# that follows may overtake the typing. Bound beforehand, the characters type like any letter.
bind_characters() {
    local keymap="$VD_DIR/keymap.xkb" spare=() used=0 hex lines=""
    xkbcomp -w 0 -xkb "$DISPLAY" "$keymap" 2>/dev/null || return 1
    # Keys with a code but without symbols.
    mapfile -t spare < <(
        sed -n '/^xkb_keycodes/,/^};/p' "$keymap" | grep -oE '^ *<I[0-9]+> = [0-9]+' | grep -oE '<I[0-9]+>' |
            grep -vxFf <(sed -n '/^xkb_symbols/,/^};/p' "$keymap" | grep -oE 'key +<[A-Z0-9]+>' | grep -oE '<[A-Z0-9]+>'))
    for hex in $(printf '%s' "$1" | iconv -f UTF-8 -t UTF-32BE | od -An -v -tx1 -w4 | tr -d ' '); do
        [ "$used" -lt ${#spare[@]} ] || return 1
        lines+="    key ${spare[used]} { [ U$(printf '%04X' $((16#$hex))) ] };"$'\n'
        used=$((used + 1))
    done
    awk -v add="$lines" '/^xkb_symbols/ { s = 1 } s && /^};/ { printf "%s", add; s = 0 } { print }' "$keymap" >"$keymap.new" &&
        xkbcomp -w 0 "$keymap.new" "$DISPLAY" 2>/dev/null
}

# Takes a screenshot of a window once it has been painted (more than a few colours): shot ID FILE
shot() { import -window "$1" "$2" 2>/dev/null && [ "$(identify -format '%k' "$2" 2>/dev/null || echo 0)" -gt 8 ] && echo "$2"; }
