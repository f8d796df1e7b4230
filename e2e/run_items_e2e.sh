#!/usr/bin/env bash
# End-to-end run of the item editor and its links: bash e2e/run_items_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
# An item added with a comment; link buttons showing pictures and names, starting the paint
# program or the desktop's opener, or saying why not; "次"; an emptied item deleted after a
# question; Ctrl+Q writing a mark. The checklist is compared byte for byte after every write.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

editor="" # the item editor's window

# Places in the item editor, found on pictures of it: "次", "OK", the comment, and the link
# buttons' centres, "LNK1" to "LNK4" from the left.
readonly next_x=70 ok_x=120 buttons_y=7 comment_x=60 comment_y=100 link_y=203
link_x() { echo $((24 + 49 * $1)); }
tap_link() { click "$editor" "$(link_x "$1")" "$link_y"; }
# Waits for an item editor other than the one given, if any, and leaves it in $editor.
wait_editor() {
    wait_window '項目' "$@"
    editor=$output
}
no_editor() { windows_titled '項目' >/dev/null || echo gone; }
# Opens the item editor on a row by "▼" → "編集": open_editor_on ROW
open_editor_on() {
    select_row "$1"
    open_menu
    choose Down Down
    wait_editor
}
# The editor shows a colour near RRGGBB at X, Y: expect_colour X Y RRGGBB WHAT
colour_near() {
    import -window "$editor" -depth 8 -crop "1x1+$1+$2" +repage ppm:- 2>/dev/null |
        convert - -fuzz 20% -fill '#010203' -opaque "#$3" -format '%[hex:u.p{0,0}]\n' info: 2>/dev/null | grep -x 010203
}
expect_colour() { poll "$limit" colour_near "$1" "$2" "$3" || fail "$4: the editor shows no $3 at ($1, $2)"; }
# The most colours along the three middle lines of a row's item column: 1 where no text is drawn.
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
recorded() { [ -s "$artifacts/$1" ] && cat "$artifacts/$1"; }
# A program that writes its arguments into the artifact file NAME: recorder PROGRAM NAME
recorder() { printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$artifacts/$2" >"$1" && chmod +x "$1" || fail "cannot write $1"; }

e2e_begin "$1" "$2"
list="$docs/items.lst"
rows=$'photos 写真\r\n \\My Documents\\photo.jpg\r\n \\My Documents\\map.BMP\r\n \\My Documents\\tool.exe\r\n \\My Documents\\readme.txt\r\nmilk\r\n \\My Documents\\notes.txt\r\n 注意!!重要\r\nbread\r\n○<03/03/05>tea\r\n'
cp932 "$list" "$rows"
# A photo red on the left and blue on the right, twice as wide as high; a green bitmap; a text;
# a script named like a text, which would leave a mark if it ran.
convert -size 200x100 xc:red -size 200x100 xc:blue +append -quality 95 "$docs/photo.jpg" || fail "cannot make photo.jpg"
convert -size 40x40 xc:lime BMP3:"$docs/Map.bmp" || fail "cannot make Map.bmp"
printf 'read me\n' >"$docs/readme.txt"
printf '#!/bin/sh\ntouch "%s"\n' "$artifacts/mark" >"$docs/notes.txt" && chmod +x "$docs/notes.txt" || fail "cannot write notes.txt"
# The bundled paint program, and the desktop's opener for plain text, record what they are given.
mkdir -p "$TAVIK_ROOT/Program Files/Vantra" "$XDG_DATA_HOME/applications" || fail "cannot make the program folders"
recorder "$TAVIK_ROOT/Program Files/Vantra/Drawbo.exe" painted
recorder "$XDG_DATA_HOME/text-viewer" opened
printf '[Desktop Entry]\nType=Application\nName=Viewer\nExec=%s %%f\nMimeType=text/plain;\n' "$XDG_DATA_HOME/text-viewer" \
    >"$XDG_DATA_HOME/applications/viewer.desktop" || fail "cannot write viewer.desktop"
printf '[Default Applications]\ntext/plain=viewer.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list" || fail "cannot write mimeapps.list"
unset XDG_CURRENT_DESKTOP BROWSER
remember_file items.lst
today=$(date +%y/%m/%d)
# Written with an empty header line first, and the added item last.
rows=$'\r\n'"$rows"$'apples\r\n red ones\r\n 2 kg\r\n'

step "start tavik with items.lst; \"▼\" → \"追加\": an item with a two-line comment, written at once on OK"
vd_start 1024x768x24 || fail "the virtual display did not start"
start_main first
pid=$started
poll "$limit" row_has_text 3 || fail "the last row of items.lst is not shown"
open_menu
choose Down
wait_editor
type_text apples
click "$editor" "$comment_x" "$comment_y"
type_text 'red ones'
keys Return
type_text '2 kg'
click "$editor" "$ok_x" "$buttons_y"
poll "$limit" no_editor || fail "the editor is still open ${limit}s after OK"
file_is "$list" "$rows" "after 追加"
poll "$limit" row_has_text 4 || fail "the new row is not shown"

step "edit \"photos\": its links show the pictures stretched, the program's name on yellow, the text's on cyan"
open_editor_on 0
keys Home
type_text 'my '
expect_colour $(($(link_x 0) - 12)) "$link_y" FF0000 "the photo's left half"
expect_colour $(($(link_x 0) + 12)) "$link_y" 0000FF "the photo's right half"
expect_colour "$(link_x 1)" "$link_y" 00FF00 "the bitmap"
expect_colour "$(link_x 2)" $((link_y + 20)) FFFF00 "the program"
expect_colour "$(link_x 3)" $((link_y + 20)) 00FFFF "the text"

step "taps: the bitmap goes to the paint program, the missing program says \"起動失敗！\", the text to the opener"
tap_link 1
poll "$limit" recorded painted || fail "the paint program was not started within ${limit}s"
[ "$output" = "$docs/Map.bmp" ] || fail "the paint program was given \"$output\", not \"$docs/Map.bmp\""
tap_link 2
answer_box "起動失敗！" Return
tap_link 3
poll 20 recorded opened || fail "the desktop's opener was not given readme.txt within 20s"
[ "$output" = "$docs/readme.txt" ] || fail "the opener was given \"$output\", not \"$docs/readme.txt\""

step "\"次\" writes \"my photos\" and opens \"milk\"; emptied, its script-like link refused, OK asks, then deletes it"
first_editor=$editor
click "$editor" "$next_x" "$buttons_y"
file_is "$list" "${rows/photos/my photos}" "after 次"
wait_editor "$first_editor"
keys ctrl+a BackSpace
tap_link 0
answer_box "a file that may run" Return
[ ! -e "$artifacts/mark" ] || fail "the script named like a text ran"
click "$editor" "$ok_x" "$buttons_y"
answer_box "データが削除されます" Return
poll "$limit" no_editor || fail "the editor is still open after the deletion"
deleted=$'\r\n 削除＝＞\r\n milk<>\r\n \\My Documents\\notes.txt\r\n 注意!!重要\r\n\r\n ＜＝削除\r\n'"${rows/photos/my photos}"
deleted=${deleted/$'\r\nmilk\r\n \\My Documents\\notes.txt\r\n 注意!!重要'/$'\r\n'}
file_is "$list" "$deleted" "after the deletion"
poll "$limit" row_empty 1 || fail "the deleted row still shows its text"

step "mark \"bread\" with \"○\"; Ctrl+Q writes it"
select_row 2
click "$main" 15 10
quit "$pid"
# A write keeps the header as it would read back: the empty line before the record goes.
deleted=${deleted#$'\r\n'}
file_is "$list" "${deleted/bread/○<$today>bread}" "after Ctrl+Q" 0
echo "e2e items: all checks passed"
