#!/usr/bin/env bash
# End-to-end run of what tavik refuses to lose, on a private X display driven by xdotool:
#
#   bash e2e/run_keeps_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# A file cut short by a NUL is shown in part with a notice and not overwritten unasked;
# the wheel over the chooser opens nothing; a character CP932 cannot hold is written as
# "?" only after a yes; comment lines with "!" come back as they were; a NUL pasted into
# an item is dropped, so every row is there after a restart; Save As onto another
# checklist asks first. Each file is compared byte for byte after each step.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

today=$(date +%y/%m/%d)
# Window coordinates, found on screenshots: the mark button "○" and the chooser; the item
# editor's "OK".
readonly mark_x=15 mark_y=10 chooser_x=170 chooser_y=10 ok_x=120 buttons_y=7
readonly save_as_title='名前を付けて保存'

# Writes the UTF-8 text given in CP932: cp932 FILE TEXT
cp932() { printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$1" || fail "cannot write $1"; }
# Waits until FILE holds the bytes of EXPECTED: file_is FILE EXPECTED WHAT
file_is() {
    poll "$limit" same_file "$2" "$1" ||
        fail "$3: $(basename "$1") differs (< expected, > found):"$'\n'"$(diff <(cat -A "$2") <(cat -A "$1"))"
}
type_text() { LC_ALL=C.UTF-8 xdotool type --delay 15 "$1" || fail "xdotool could not type \"$1\""; }
other_window() { tavik_windows --name no | grep -vx "$1"; }
save_as_windows() { xdotool search --onlyvisible --name "^${save_as_title}\$" 2>/dev/null; }

e2e_begin "$1" "$2"
for tool in iconv xkbcomp xclip; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed (bash scripts/setup.sh installs it)"
done
docs="$TAVIK_ROOT/My Documents"
mkdir -p "$docs" || fail "cannot make the sample folder"
partly="$docs/partly.lst" fruit="$docs/fruit.lst"
# Four items with a NUL after the second; the comment lines hold "!!" and end in "!".
printf '牛乳\r\n卵\r\n\0パン\r\nバター\r\n' | iconv -f UTF-8 -t CP932 >"$partly" || fail "cannot write partly.lst"
cp "$partly" "$artifacts/partly.original"
cp932 "$fruit" $'りんご\r\n 注意!!重要\r\nぶどう\r\n 17時まで!\r\n 窓口は二番\r\n'
remember_file partly.lst

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
bind_characters '🍊' || fail "cannot bind 🍊 to a spare key"
ok "display $DISPLAY"

step "start with partly.lst: a notice names the NUL before the window shows; the two rows before it are shown"
start_tavik first
pid=$started
poll "$limit" tavik_windows --name no || fail "no notice within ${limit}s"
notice=$(head -n1 <<<"$output")
poll "$limit" shot "$notice" "$artifacts/notice-nul.png" || fail "the notice was not painted"
poll "$limit" active "$notice" || fail "the notice is not active"
xdotool key Return || fail "xdotool could not press Return"
poll "$limit" other_window "$notice" || fail "no main window within ${limit}s of the notice"
main=$(head -n1 <<<"$output")
poll "$limit" row_has_text 1 || fail "the second row is not shown"
[ -z "$(row_has_text 2)" ] || fail "a third row is shown"
ok "screenshot notice-nul.png"

step "mark \"牛乳\" and press Ctrl+S: the question on a file not read whole; Return (No) writes nothing"
select_row 0
xdotool mousemove --window "$main" "$mark_x" "$mark_y" click 1 || fail "xdotool could not click \"○\""
xdotool key --clearmodifiers ctrl+s || fail "xdotool could not press Ctrl+S"
answer_box question-not-read.png Return
file_is "$partly" "$artifacts/partly.original" "after No"
ok "partly.lst byte for byte as it was"

step "the wheel over the closed chooser opens nothing and writes nothing"
sleep 1.2 # the chooser shows the open file a second after loading
xdotool mousemove --window "$main" "$chooser_x" "$chooser_y" click 5 click 5 click 4 ||
    fail "xdotool could not turn the wheel"
sleep 1
[ -z "$(message_boxes)" ] || fail "a message box came up after the wheel"
[ -z "$(row_has_text 2)" ] && [ -n "$(row_has_text 1)" ] || fail "another file is shown after the wheel"
poll "$limit" shot "$main" "$artifacts/after-wheel.png" || fail "the window was not painted"
file_is "$partly" "$artifacts/partly.original" "after the wheel"
ok "screenshot after-wheel.png"

step "Ctrl+Q: No to the write, Yes to closing without it; partly.lst is untouched"
quit
answer_box question-not-read-on-close.png Return
answer_box question-close-unsaved.png Left Return
ended "$pid"
file_is "$partly" "$artifacts/partly.original" "after closing"
ok "ended with status 0"

step "start with fruit.lst; add \"mikan🍊\": the question on \"?\"; Return (No) keeps the file"
cp "$fruit" "$artifacts/fruit.original"
remember_file fruit.lst
start_main second
pid=$started
poll "$limit" row_has_text 1 || fail "fruit.lst is not shown"
open_menu menu-add.png
choose Down
wait_editor
type_text 'mikan🍊'
xdotool mousemove --window "$editor" "$ok_x" "$buttons_y" click 1 || fail "xdotool could not click OK"
answer_box question-replace.png Return
file_is "$fruit" "$artifacts/fruit.original" "after No"
poll "$limit" row_has_text 2 || fail "the added item is not shown"
ok "screenshot question-replace.png; fruit.lst as it was, the item on screen"

step "Ctrl+S, Yes: \"?\" in place of 🍊; the comment lines with \"!\" are written as they were read"
xdotool key --clearmodifiers ctrl+s || fail "xdotool could not press Ctrl+S"
answer_box question-replace-save.png Left Return
answer_box written.png Return
cp932 "$artifacts/fruit.expected" $'\r\nりんご\r\n 注意!!重要\r\nぶどう\r\n 17時まで!\r\n 窓口は二番\r\nmikan?\r\n'
file_is "$fruit" "$artifacts/fruit.expected" "after Yes"
ok "fruit.lst byte for byte"

step "paste \"X\\0Y\" at the end of \"りんご\" in the editor: the NUL is dropped, the file keeps every row"
printf 'X\0Y' | xclip -selection clipboard || fail "xclip could not set the clipboard"
open_editor_on 0
xdotool key --clearmodifiers End ctrl+v || fail "xdotool could not paste"
sleep 0.3
xdotool mousemove --window "$editor" "$ok_x" "$buttons_y" click 1 || fail "xdotool could not click OK"
poll "$limit" no_editor || fail "the editor is still open"
cp932 "$artifacts/fruit.expected" $'\r\nりんごXY\r\n 注意!!重要\r\nぶどう\r\n 17時まで!\r\n 窓口は二番\r\nmikan?\r\n'
file_is "$fruit" "$artifacts/fruit.expected" "after the paste"
ok "written at once, without the NUL"

step "\"名前を付けて保存\" as \"partly\": the question on replacing it; Return (No) writes nothing"
open_menu menu-file.png
xdotool key Down Down Down Down Right || fail "xdotool could not open \"ファイル\""
sleep 0.3
choose Down # the submenu opens on its first entry, "保存（上書き）"
poll "$limit" save_as_windows || fail "no window \"$save_as_title\" within ${limit}s"
dialog=$(head -n1 <<<"$output")
poll "$limit" active "$dialog" || fail "the Save As dialog is not active"
xdotool key --clearmodifiers ctrl+a && type_text 'partly' && xdotool key Return || fail "xdotool could not type"
answer_box question-replace-file.png Return
file_is "$partly" "$artifacts/partly.original" "after No to Save As"
grep -qx 'FileName=fruit.lst' "$XDG_CONFIG_HOME/Vantra/tavik.conf" ||
    fail "the profile holds $(cat "$XDG_CONFIG_HOME/Vantra/tavik.conf")"
ok "screenshot question-replace-file.png; partly.lst and the profile unchanged"

step "restart: every row of fruit.lst is there"
quit
ended "$pid"
start_main third
pid=$started
poll "$limit" row_has_text 2 || fail "the third row of fruit.lst is not shown after a restart"
poll "$limit" shot "$main" "$artifacts/restarted.png" || fail "the window was not painted"
quit
ended "$pid"
file_is "$fruit" "$artifacts/fruit.expected" "after the restart"
ok "screenshot restarted.png"

echo "e2e keeps: all checks passed; screenshots in $artifacts"
