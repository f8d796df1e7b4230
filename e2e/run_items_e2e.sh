#!/usr/bin/env bash
# End-to-end run of the item editor and the item clipboard on a private X display driven
# by xdotool:
#
#   bash e2e/run_items_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# Adding an item with a two-line comment, editing a row and going on to the next one with
# "次", deleting a row by emptying its text, cutting a row and pasting it at the end, and
# Ctrl+Q writing the checklist back. After each step the file on disk is compared byte for
# byte with the expected CP932 text. Screenshots, the program's output and the files stay
# in the artifact folder; on a failure also a picture of the whole screen.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

today=$(date +%y/%m/%d)

# Window coordinates, found on screenshots of the editor: "次", "OK" and the comment.
readonly next_x=70 ok_x=120 buttons_y=7 comment_x=60 comment_y=100

two_popups() { [ "$(popups | wc -l)" -eq 2 ] && echo yes; }

# Opens "項目COPY" by keyboard (the menu's third entry, then Right), which makes its first enabled
# entry the active one, and keeps a picture of it: open_item_copy PICTURE
open_item_copy() {
    open_menu menu-item-copy.png
    xdotool key Down Down Down Right || fail "xdotool could not press keys"
    poll "$limit" two_popups || fail "the submenu \"項目COPY\" did not open within ${limit}s"
    local submenu
    submenu=$(popups | grep -vx "$menu" | head -n1)
    poll "$limit" shot "$submenu" "$artifacts/$1" || fail "the submenu was not painted within ${limit}s"
}

click_editor() { xdotool mousemove --window "$editor" "$1" "$2" click 1 || fail "xdotool could not click the editor"; }
type_text() { LC_ALL=C.UTF-8 xdotool type --delay 15 "$1" || fail "xdotool could not type \"$1\""; }

e2e_begin "$1" "$2"
for tool in iconv xkbcomp; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed"
done
rm -f "$artifacts"/*.expected "$artifacts"/items.lst
# One checklist in "\My Documents" in CP932, remembered from an earlier run: three plain rows
# and a dated one marked "○".
docs="$TAVIK_ROOT/My Documents"
list="$docs/items.lst"
mkdir -p "$docs" || fail "cannot make the sample folder"
printf 'milk\r\nbread\r\n\x81\x9b<03/03/05>tea\r\neggs\r\n' >"$list"
remember_file items.lst

# The file after each step, in UTF-8 here and compared in CP932.
write_expected added.expected $'\r\nmilk\r\nbread\r\n○<03/03/05>tea\r\neggs\r\napples 林檎\r\n red ones\r\n ２ kg\r\n'
write_expected next.expected $'\r\nmilk\r\nrye bread\r\n○<03/03/05>tea\r\neggs\r\napples 林檎\r\n red ones\r\n ２ kg\r\n'
write_expected edited.expected $'\r\nmilk\r\nrye bread\r\n○<'"$today"$'>green tea\r\neggs\r\napples 林檎\r\n red ones\r\n ２ kg\r\n'
# The deletion record heads the file, one line a piece: an empty line, "削除＝＞", "green tea<date>",
# the empty comment and "＜＝削除"; the deleted row keeps its mark and date.
deletion=$'\r\n 削除＝＞\r\n green tea<'"$today"$'>\r\n\r\n ＜＝削除\r\n'
write_expected deleted.expected "$deletion"$'\r\nmilk\r\nrye bread\r\n削<'"$today"$'>\r\neggs\r\napples 林檎\r\n red ones\r\n ２ kg\r\n'
# The cut row's record follows, with its comment; the cut row, undated and empty, is an empty
# line without its comment; the pasted row comes last. The header was kept as the first write
# left it, and this write trims it again: the empty line before the first record goes.
write_expected closed.expected "${deletion#$'\r\n'}"$'\r\n 削除＝＞\r\n apples 林檎<>\r\n red ones\r\n ２ kg\r\n\r\n ＜＝削除\r\n\r\nmilk\r\nrye bread\r\n削<'"$today"$'>\r\neggs\r\n\r\napples 林檎\r\n red ones\r\n ２ kg\r\n'

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
bind_characters '林檎２' || fail "could not add 林檎２ to the keyboard map"
ok "display $DISPLAY; 林檎２ on spare keys"

step "start tavik with items.lst"
start_main first
pid=$started
poll "$limit" row_has_text 3 || fail "the last row of items.lst is not shown"
poll "$limit" shot "$main" "$artifacts/list-start.png" || fail "the main window was not painted within ${limit}s"
ok "window $main (process $pid); screenshot $output"

step "\"▼\" → \"追加\" opens the item editor without \"前\" and \"次\""
open_menu menu-add.png
choose Down
wait_editor
# Where "次" stands in the other editor there is only the dialog's background here.
click_editor "$next_x" "$buttons_y"
sleep 0.3
[ "$(editor_windows)" = "$editor" ] || fail "a click where \"次\" would stand closed the editor"
ok "window $editor"

step "type an item and a two-line comment; a screenshot of the editor is kept; OK writes the new row at once"
type_text 'apples 林檎'
click_editor "$comment_x" "$comment_y"
type_text 'red ones'
xdotool key Return || fail "xdotool could not press Return"
type_text '２ kg'
poll "$limit" shot "$editor" "$artifacts/editor-add.png" || fail "the editor was not painted"
click_editor "$ok_x" "$buttons_y"
poll "$limit" no_editor || fail "the editor is still open ${limit}s after OK"
checklist_is added.expected "after 追加"
poll "$limit" row_has_text 4 || fail "the new row is not shown"
ok "items.lst holds the new row and its comment"

step "select \"bread\", \"▼\" → \"編集\", put \"rye \" before the text, \"次\": the edit is written and the next row opens"
select_row 1
open_menu menu-edit.png
choose Down Down
wait_editor
xdotool key Home || fail "xdotool could not press Home"
type_text 'rye '
click_editor "$next_x" "$buttons_y"
first_editor=$editor
checklist_is next.expected "after 次"
wait_editor "$first_editor"
poll "$limit" shot "$editor" "$artifacts/editor-next.png" || fail "the editor was not painted"
ok "the editor reopened as $editor; screenshot $output"

step "put \"green \" before the next row's text (so it must be \"tea\"), Return: written and re-dated $today"
xdotool key Home || fail "xdotool could not press Home"
type_text 'green '
xdotool key Return || fail "xdotool could not press Return"
poll "$limit" no_editor || fail "the editor is still open ${limit}s after Return"
checklist_is edited.expected "after 編集"
poll "$limit" row_selected 2 || fail "the row edited last is not selected"
ok "items.lst holds \"rye bread\" and \"○<$today>green tea\""

step "empty \"green tea\" in the editor and press Return; \"データが削除されます\" asks; OK deletes the row"
select_row 2
open_menu menu-delete.png
choose Down Down
wait_editor
xdotool key BackSpace Return || fail "xdotool could not press keys"
poll "$limit" message_boxes || fail "no message box within ${limit}s of OK with an empty item"
box=$(head -n1 <<<"$output")
poll "$limit" shot "$box" "$artifacts/confirm-delete.png" || fail "the message box was not painted"
poll "$limit" active "$box" || fail "the message box is not the active window"
editor_windows >/dev/null && fail "the editor is still open under the message box"
xdotool key Return || fail "xdotool could not press Return"
poll "$limit" no_message_box || fail "the message box is still open ${limit}s after Return"
checklist_is deleted.expected "after the deletion"
poll "$limit" row_empty 2 || fail "the deleted row still shows a text"
poll "$limit" shot "$main" "$artifacts/list-deleted.png" || fail "the list was not painted"
ok "the row is marked \"削\" and the record heads items.lst; screenshot $output"

step "select \"apples 林檎\", \"▼\" → \"項目COPY\" → \"切り取り\" (Up from the first entry): the row empties"
select_row 4
open_item_copy submenu-cut.png
choose Up
poll "$limit" row_empty 4 || fail "the cut row still shows a text"
poll "$limit" shot "$main" "$artifacts/list-cut.png" || fail "the list was not painted"
ok "screenshot $output"

step "\"▼\" → \"項目COPY\" → \"追加貼り付け\" (below the first entry): the item comes back as the last row; nothing is written yet"
open_item_copy submenu-paste.png
choose Down
poll "$limit" row_has_text 5 || fail "no sixth row appeared"
poll "$limit" shot "$main" "$artifacts/list-pasted.png" || fail "the list was not painted"
picture=$output
sleep 0.3 # a write, if any, would come at once
checklist_is deleted.expected "after cut and paste, which write nothing" 0
ok "screenshot $picture; items.lst unchanged"

step "Ctrl+Q ends tavik with status 0 and writes the checklist back"
quit
ended "$pid"
poll "$limit" no_tavik_window || fail "windows titled \"tavik\" remain: $(xdotool search --name '^tavik$' | tr '\n' ' ')"
cp "$list" "$artifacts/items.lst"
checklist_is closed.expected "after Ctrl+Q" 0
ok "items.lst byte for byte"

echo "e2e items: all checks passed; screenshots in $artifacts"
