#!/usr/bin/env bash
# End-to-end run of the list's gestures on a private X display driven by xdotool:
#
#   bash e2e/run_gestures_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# A double click on a row pops its comment up over the list, and five seconds later it is
# gone again; a right click (tap-and-hold) on the list opens the comment pane below it and a
# second one closes it. Each state is compared with the one before on the main window's
# pixels; screenshots and the program's output stay in the artifact folder.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

# Main window coordinates, found on screenshots: a point of the list below the rows; the
# place of the pop-up (the view fills the window from its top left); a part of the list's
# lower half.
readonly empty_y=200
readonly popup_area=195x140+15+150 lower_list=200x100+20+170

# A signature of the pixels of one area of the main window: area_of GEOMETRY
area_of() { import -window "$main" -crop "$1" +repage -format '%#' info: 2>/dev/null; }
area_is() { [ "$(area_of "$1")" = "$2" ] && echo same; }
area_is_not() { local now; now=$(area_of "$1") && [ -n "$now" ] && [ "$now" != "$2" ] && echo changed; }

e2e_begin "$1" "$2"
docs="$TAVIK_ROOT/My Documents"
mkdir -p "$docs" || fail "cannot make the sample folder"
printf 'shopping\r\n bread and milk\r\n the big bag\r\n before six\r\ncall home\r\n' >"$docs/gestures.lst" ||
    fail "cannot write gestures.lst"
remember_file gestures.lst

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
ok "display $DISPLAY"

step "start tavik with gestures.lst"
start_main first
pid=$started
poll "$limit" shot "$main" "$artifacts/list-start.png" || fail "the main window was not painted within ${limit}s"
sleep 0.5
popup_before=$(area_of "$popup_area")
lower_before=$(area_of "$lower_list")
ok "window $main"

step "a double click on \"shopping\" pops its comment up; five seconds later it is gone"
xdotool mousemove --window "$main" "$row_x" "$(row_y 0)" click --repeat 2 --delay 80 1 || fail "xdotool could not double-click"
poll "$limit" area_is_not "$popup_area" "$popup_before" || fail "nothing popped up within ${limit}s of the double click"
shown_at=$SECONDS
poll "$limit" shot "$main" "$artifacts/comment-popup.png" || fail "the window was not painted"
poll 9 area_is "$popup_area" "$popup_before" || fail "the pop-up is still there 9s after it appeared"
[ $((SECONDS - shown_at)) -ge 4 ] || fail "the pop-up went after $((SECONDS - shown_at))s, not five"
poll "$limit" shot "$main" "$artifacts/comment-popup-gone.png" || fail "the window was not painted"
ok "shown about $((SECONDS - shown_at))s; screenshots comment-popup.png and comment-popup-gone.png"

step "a right click on the list opens the comment pane below it; another closes it"
xdotool mousemove --window "$main" "$row_x" "$empty_y" click 3 || fail "xdotool could not right-click"
poll "$limit" area_is_not "$lower_list" "$lower_before" || fail "no comment pane within ${limit}s of the right click"
poll "$limit" shot "$main" "$artifacts/comment-pane.png" || fail "the window was not painted"
xdotool mousemove --window "$main" "$row_x" $(($(row_y 0) + 30)) click 3 || fail "xdotool could not right-click"
poll "$limit" area_is "$lower_list" "$lower_before" || fail "the comment pane is still open ${limit}s after the second right click"
ok "screenshot comment-pane.png"

step "Ctrl+Q ends tavik with status 0"
quit
ended "$pid"
ok "ended"

echo "e2e gestures: all checks passed; screenshots in $artifacts"
