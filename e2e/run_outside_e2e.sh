#!/usr/bin/env bash
# End-to-end run of a checklist that another program changes while tavik has it open, on
# a private X display driven by xdotool:
#
#   bash e2e/run_outside_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# A line appended by a shell command shows in the list within two seconds. With a mark
# unsaved, a second outside change is not shown; an edit then asks before overwriting:
# "No" (the default, Return) keeps the other program's file, and closing asks again, where
# "Yes" writes tavik's version. The file is compared byte for byte after each step.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

readonly question='ファイルが他のプログラムで変更されています。上書きしますか？'
# The mark button "○" and the editor's "OK", found on screenshots.
readonly mark_x=18 mark_y=10 ok_x=120 buttons_y=7

expect_file() { # expect_file WHAT TEXT (UTF-8, compared in CP932)
    printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$artifacts/expected" || fail "cannot write the expected file"
    poll "$limit" same_file "$artifacts/expected" "$list" ||
        fail "$1: outside.lst is not as expected:"$'\n'"$(diff <(cat -A "$artifacts/expected") <(cat -A "$list"))"
}

e2e_begin "$1" "$2"
docs="$TAVIK_ROOT/My Documents"
list="$docs/outside.lst"
mkdir -p "$docs" || fail "cannot make the sample folder"
printf 'milk\r\nbread\r\n' >"$list" || fail "cannot write outside.lst"
remember_file outside.lst

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
ok "display $DISPLAY"

step "start tavik with outside.lst; a line appended by a shell command shows within two seconds"
start_main first
pid=$started
poll "$limit" row_has_text 1 || fail "the second row of outside.lst is not shown"
printf 'eggs\r\n' >>"$list"
poll 2 row_has_text 2 || fail "the appended line is not shown within 2s"
poll "$limit" shot "$main" "$artifacts/list-appended.png" || fail "the window was not painted"
ok "screenshot list-appended.png"

step "mark \"milk\" (unsaved), append \"tea\" outside: the list keeps its change and does not show \"tea\""
select_row 0
xdotool mousemove --window "$main" "$mark_x" "$mark_y" click 1 || fail "xdotool could not click \"○\""
printf 'tea\r\n' >>"$list"
sleep 1
[ -n "$(row_empty 3)" ] || fail "the list shows the outside change over its unsaved mark"
ok "no reload"

step "edit \"bread\" (\"▼\" → \"編集\", OK): tavik asks before overwriting; Return (No) keeps the other program's file"
open_editor_on 1
xdotool key End && xdotool type ' rye' || fail "xdotool could not type"
xdotool mousemove --window "$editor" "$ok_x" "$buttons_y" click 1 || fail "xdotool could not click OK"
answer_box question.png Return
expect_file "after No" $'milk\r\nbread\r\neggs\r\ntea\r\n'
ok "screenshot question.png; outside.lst as the other program left it"

step "Ctrl+Q: closing asks again; \"Yes\" writes tavik's version and tavik ends with status 0"
quit
answer_box question-on-close.png Left Return
ended "$pid"
today=$(date +%y/%m/%d)
expect_file "after Yes" $'\r\n○<'"$today"$'>milk\r\nbread rye\r\neggs\r\n'
ok "outside.lst holds tavik's version"

echo "e2e outside changes: all checks passed; screenshots in $artifacts"
