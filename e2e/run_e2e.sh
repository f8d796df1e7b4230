#!/usr/bin/env bash
# End-to-end run of the built program on a private X display driven by xdotool:
#
#   bash e2e/run_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# Start-up with the remembered checklist, marking a row, switching files in the
# chooser, the "ツール" menu and the about box, a second start while a copy runs,
# and Ctrl+Q writing the change back. Screenshots and the program's output stay in the
# artifact folder; on a failure also a picture of the whole screen.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

readonly about_title='tavik のバージョン情報'

about_windows() { xdotool search --onlyvisible --name "^${about_title}\$" 2>/dev/null; }
no_about() { about_windows >/dev/null || echo gone; }

e2e_begin "$1" "$2"
# Two checklists in "\My Documents"; the first is remembered from an earlier run.
docs="$TAVIK_ROOT/My Documents"
mkdir -p "$docs" || fail "cannot make the sample folders"
printf 'milk\r\nbread\r\n' >"$docs/shopping.lst"
printf 'call the bank\r\n' >"$docs/todo.lst"
cp "$docs/todo.lst" "$TAVIK_ROOT/todo.original"
remember_file shopping.lst

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
ok "display $DISPLAY"

step "start tavik; one window titled \"tavik\" appears"
start_main first
first_pid=$started
ok "window $main (process $first_pid)"

step "the main window's client area is about 240×320; a screenshot of it is kept"
eval "$(xdotool getwindowgeometry --shell "$main")" || fail "the main window has gone"
main_height=$HEIGHT
[ "$(near "$WIDTH" 240)$(near "$HEIGHT" 320)" = yesyes ] || fail "the main window is ${WIDTH}×${HEIGHT}"
poll "$limit" shot "$main" "$artifacts/main-window.png" || fail "the main window was not painted within ${limit}s"
ok "${WIDTH}×${HEIGHT}; screenshot $output"

step "select the first row and press \"○\" twice: the row is marked \"×\" with today's date"
# Dialog units of the main form in its 9-point font: 7/4 px across, 13/8 px down. The list's
# first row lies below its header, the mark button at the top left.
xdotool mousemove --window "$main" 60 52 click 1 || fail "xdotool could not click the list"
sleep 0.3
xdotool mousemove --window "$main" 15 10 click 1 sleep 0.3 click 1 || fail "xdotool could not click \"○\""
sleep 0.5
poll "$limit" shot "$main" "$artifacts/marked-list.png" || fail "the marked list was not painted"
ok "screenshot $output"

step "choose todo.lst in the chooser (the entry below the open file); it opens"
sleep 1.2 # the chooser shows the open file a second after loading
xdotool mousemove --window "$main" 170 10 click 1 || fail "xdotool could not click the chooser"
sleep 0.5
xdotool key Down Return || fail "xdotool could not choose"
sleep 1.5
poll "$limit" shot "$main" "$artifacts/other-file.png" || fail "the other file was not painted"
ok "screenshot $output"

step "click \"ツール\" (bottom left of the window); its popup menu opens"
# The button's text sits about 25 px from the left edge, inside the bar at the bottom.
xdotool mousemove --window "$main" 25 $((main_height - 14)) click 1 || fail "xdotool could not click"
poll "$limit" tavik_windows --class yes || fail "no popup menu opened within ${limit}s"
popup=$(head -n1 <<<"$output")
eval "$(xdotool getwindowgeometry --shell "$popup")" || fail "the popup menu has gone"
ok "popup $popup"

step "choose \"tavik のバージョン情報...\" (the middle one of three entries); the about box opens and is photographed"
xdotool mousemove --window "$popup" $((WIDTH / 2)) $((HEIGHT / 2)) click 1 || fail "xdotool could not click"
poll "$limit" about_windows || fail "no window \"$about_title\" within ${limit}s"
about=$(head -n1 <<<"$output")
poll "$limit" shot "$about" "$artifacts/about-box.png" || fail "the about box was not painted within ${limit}s"
ok "window $about; screenshot $output"

step "Return closes the about box"
poll "$limit" active "$about" || fail "the about box is not the active window"
xdotool key Return || fail "xdotool could not press Return"
poll "$limit" no_about || fail "the about box is still open ${limit}s after Return"
kill -0 "$first_pid" 2>/dev/null || fail "tavik ended when the about box closed"
ok "closed; tavik still runs"

step "minimise the main window, so that bringing it back proves the activation"
xdotool windowminimize --sync "$main" || fail "xdotool could not minimise the window"
poll "$limit" inactive "$main" || fail "the main window stays active after minimising"
ok "minimised"

step "a second tavik ends within 5s with status 0"
start_tavik second
second_pid=$started
wait_exit "$second_pid" 5 || fail "the second tavik still runs after 5s"
[ "$status" -eq 0 ] || fail "the second tavik ended with status $status"
ok "ended with status 0"

step "the first window is active again and the only one titled \"tavik\""
poll "$limit" active "$main" || fail "the active window is $(xdotool getactivewindow 2>/dev/null || echo none), not $main"
[ "$(tavik_windows --name no)" = "$main" ] || fail "windows titled \"tavik\": $(tavik_windows --name no | tr '\n' ' ')"
ok "window $main"

step "Ctrl+Q ends tavik with status 0 and leaves no window titled \"tavik\""
xdotool key --clearmodifiers ctrl+q || fail "xdotool could not press Ctrl+Q"
wait_exit "$first_pid" "$limit" || fail "tavik still runs ${limit}s after Ctrl+Q"
[ "$status" -eq 0 ] || fail "tavik ended with status $status"
poll "$limit" no_tavik_window || fail "windows titled \"tavik\" remain: $(xdotool search --name '^tavik$' | tr '\n' ' ')"
ok "ended with status 0; no window left"

step "the marked row reached shopping.lst, todo.lst is as it was, and todo.lst is remembered"
printf '\r\n\x81\x7e<%s>milk\r\nbread\r\n' "$(date +%y/%m/%d)" >"$TAVIK_ROOT/shopping.expected"
cmp "$docs/shopping.lst" "$TAVIK_ROOT/shopping.expected" ||
    fail "shopping.lst holds $(od -c "$docs/shopping.lst" | head -3)"
cmp "$docs/todo.lst" "$TAVIK_ROOT/todo.original" || fail "todo.lst changed"
grep -qx 'FileName=todo.lst' "$XDG_CONFIG_HOME/Vantra/tavik.conf" ||
    fail "the profile holds $(cat "$XDG_CONFIG_HOME/Vantra/tavik.conf")"
ok "both files byte for byte; the profile names todo.lst"

echo "e2e: all checks passed; screenshots in $artifacts"
