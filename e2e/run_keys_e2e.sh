#!/usr/bin/env bash
# End-to-end run of the list's keys, undo and redo, and find, on a private X display
# driven by xdotool:
#
#   bash e2e/run_keys_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# Space marks a row, Ctrl+Z takes the mark back and Ctrl+Y gives it again; Alt+Down moves
# the row and keeps it selected; Delete deletes it after the editor's question and writes at
# once, and so do its undo and redo; Ctrl+F finds a row typed in full-width capitals; Ctrl+S
# writes. The file is compared byte for byte after each write. Screenshots, the program's
# output and the files stay in the artifact folder; on a failure also the whole screen.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

today=$(date +%y/%m/%d)

keys() { xdotool key --clearmodifiers "$@" || fail "xdotool could not press $*"; }

e2e_begin "$1" "$2"
command -v iconv >/dev/null 2>&1 || fail "'iconv' is not installed"
rm -f "$artifacts"/*.expected "$artifacts"/keys.lst
docs="$TAVIK_ROOT/My Documents"
list="$docs/keys.lst"
mkdir -p "$docs" || fail "cannot make the sample folder"
printf 'milk\r\nbread\r\n\x81\x9b<03/03/05>tea\r\neggs\r\n' >"$list"
remember_file keys.lst
cp "$list" "$artifacts/start.expected"

# "milk", marked today and moved below "bread", deleted: its record heads the file.
deletion=$'\r\n 削除＝＞\r\n milk<'"$today"$'>\r\n\r\n ＜＝削除\r\n'
write_expected deleted.expected "$deletion"$'\r\nbread\r\n削<'"$today"$'>\r\n○<03/03/05>tea\r\neggs\r\n'
write_expected undone.expected $'\r\nbread\r\n○<'"$today"$'>milk\r\n○<03/03/05>tea\r\neggs\r\n'
# Ctrl+S writes the header as the last write left it, without its first empty line.
write_expected saved.expected "${deletion#$'\r\n'}"$'\r\nbread\r\n削<'"$today"$'>\r\n○<03/03/05>tea\r\n○<'"$today"$'>eggs\r\n'

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
bind_characters 'ＥＧ' || fail "could not add ＥＧ to the keyboard map"
ok "display $DISPLAY"

step "start tavik with keys.lst and click \"milk\""
start_main first
pid=$started
poll "$limit" row_has_text 3 || fail "the last row of keys.lst is not shown"
select_row 0
ok "window $main (process $pid)"

step "Space, Ctrl+Z, Ctrl+Y, Alt+Down: \"milk\" marked, unmarked, marked, moved down and still selected"
keys space ctrl+z ctrl+y alt+Down
poll "$limit" row_selected 1 || fail "the moved row is not selected"
poll "$limit" shot "$main" "$artifacts/list-moved.png" || fail "the list was not painted"
picture=$output
checklist_is start.expected "marks and moves wait for a write" 0
ok "screenshot $picture"

step "Delete asks \"データが削除されます\"; OK deletes \"milk\" and writes at once; Ctrl+Z and Ctrl+Y write too"
keys Delete
answer_box confirm-delete.png Return
checklist_is deleted.expected "after Delete"
keys ctrl+z
checklist_is undone.expected "after Ctrl+Z"
keys ctrl+y
checklist_is deleted.expected "after Ctrl+Y"
ok "keys.lst byte for byte after each"

step "Ctrl+F, \"ＥＧＧ\": \"eggs\" is selected; Escape gives the list the keys; Space marks it"
keys ctrl+f
LC_ALL=C.UTF-8 xdotool type --delay 30 'ＥＧＧ' || fail "xdotool could not type"
poll "$limit" row_selected 3 || fail "\"eggs\" is not selected after typing ＥＧＧ"
poll "$limit" shot "$main" "$artifacts/find.png" || fail "the window was not painted"
keys Escape space
ok "screenshot $output"

step "Ctrl+S writes the checklist; \"書き込みました\""
keys ctrl+s
answer_box saved.png Return
checklist_is saved.expected "after Ctrl+S"
ok "keys.lst byte for byte"

quit
ended "$pid"
cp "$list" "$artifacts/keys.lst"
echo "e2e keys: all checks passed; screenshots in $artifacts"
