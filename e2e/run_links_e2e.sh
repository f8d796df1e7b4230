#!/usr/bin/env bash
# End-to-end run of the item editor's link buttons on a private X display driven by xdotool:
#
#   bash e2e/run_links_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# A checklist whose comment names a ".jpg", a ".bmp", an ".exe" that does not exist and a
# ".txt" under "\My Documents\": the editor shows the two pictures stretched over their
# buttons and the other two names on yellow and cyan (checked on a screenshot); a tap on
# the bitmap starts the paint program (a script standing in for it records what it was
# given); a tap on the missing program says "起動失敗！". Screenshots, the program's output
# and the paint program's record stay in the artifact folder.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

# Window coordinates, found on screenshots: "▼" and the first row in the main window; the
# four link buttons' centres in the editor ("LNK1" to "LNK4" from the left, 49 px apart).
readonly menu_x=40 menu_y=10 row_x=160 row_y=47
readonly link_y=203
link_x() { echo $((24 + 49 * $1)); }

recorded() { [ -s "$record" ] && cat "$record"; }

# One pixel of a picture as RRGGBB: pixel_of FILE X Y
pixel_of() { convert "$1" -crop "1x1+$2+$3" +repage -format '%[hex:u.p{0,0}]' info: 2>/dev/null; }
# Whether a colour RRGGBB lies within 48 of the one given in every channel: close RRGGBB RRGGBB
close() {
    local a=$1 b=$2 i d
    for i in 0 2 4; do
        d=$((16#${a:i:2} - 16#${b:i:2}))
        [ "${d#-}" -le 48 ] || return 1
    done
}
expect_pixel() { # expect_pixel FILE X Y RRGGBB WHAT
    local found
    found=$(pixel_of "$1" "$2" "$3")
    close "$found" "$4" || fail "$5: the editor shows $found at ($2, $3), not $4"
}

e2e_begin "$1" "$2"
rm -f "$artifacts"/drawbo.args
docs="$TAVIK_ROOT/My Documents"
record="$artifacts/drawbo.args"
mkdir -p "$docs" "$TAVIK_ROOT/Program Files/Vantra" || fail "cannot make the sample folders"
# A photo red on the left and blue on the right, twice as wide as high; a plain green bitmap.
convert -size 200x100 xc:red -size 200x100 xc:blue +append -quality 95 "$docs/photo.jpg" || fail "cannot make photo.jpg"
convert -size 40x40 xc:lime BMP3:"$docs/Map.bmp" || fail "cannot make Map.bmp"
printf 'photos\r\n \\My Documents\\photo.jpg\r\n \\My Documents\\map.BMP\r\n \\My Documents\\tool.exe\r\n \\My Documents\\readme.txt\r\nmilk\r\n' \
    >"$docs/links.lst" || fail "cannot write links.lst"
# The paint program: a script that writes down its arguments.
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s"\n' "$record" >"$TAVIK_ROOT/Program Files/Vantra/Drawbo.exe" &&
    chmod +x "$TAVIK_ROOT/Program Files/Vantra/Drawbo.exe" || fail "cannot write the paint program"
remember_file links.lst

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
ok "display $DISPLAY"

step "start tavik with links.lst and open the editor on \"photos\" (\"▼\" → \"編集\")"
start_main first
pid=$started
poll "$limit" shot "$main" "$artifacts/list-start.png" || fail "the main window was not painted within ${limit}s"
xdotool mousemove --window "$main" "$row_x" "$row_y" click 1 || fail "xdotool could not click the first row"
sleep 0.3
xdotool mousemove --window "$main" "$menu_x" "$menu_y" click 1 || fail "xdotool could not click \"▼\""
poll "$limit" popups || fail "no popup menu opened within ${limit}s of a click on \"▼\""
xdotool key Down Down Return || fail "xdotool could not press keys"
poll "$limit" no_popup || fail "the popup menu is still open"
poll "$limit" editor_windows || fail "no window \"$editor_title\" within ${limit}s"
editor=$(head -n1 <<<"$output")
ok "window $editor"

step "the link buttons: the photo and the bitmap stretched over theirs, the program's name on yellow, the text's on cyan"
sleep 0.5 # the first paint reads the pictures
poll "$limit" shot "$editor" "$artifacts/editor-links.png" || fail "the editor was not painted within ${limit}s"
picture=$output
expect_pixel "$picture" $(($(link_x 0) - 12)) "$link_y" FF0000 "the photo's left half"
expect_pixel "$picture" $(($(link_x 0) + 12)) "$link_y" 0000FF "the photo's right half"
expect_pixel "$picture" "$(link_x 1)" "$link_y" 00FF00 "the bitmap"
expect_pixel "$picture" "$(link_x 2)" $((link_y + 20)) FFFF00 "the program"
expect_pixel "$picture" "$(link_x 3)" $((link_y + 20)) 00FFFF "the text file"
ok "screenshot $picture"

step "a tap on the bitmap starts the paint program with the file"
xdotool mousemove --window "$editor" "$(link_x 1)" "$link_y" click 1 || fail "xdotool could not click \"LNK2\""
poll "$limit" recorded || fail "the paint program was not started within ${limit}s"
[ "$output" = "$docs/Map.bmp" ] || fail "the paint program was given \"$output\", not \"$docs/Map.bmp\""
ok "it was given $output"

step "a tap on the missing program says \"起動失敗！\""
xdotool mousemove --window "$editor" "$(link_x 2)" "$link_y" click 1 || fail "xdotool could not click \"LNK3\""
poll "$limit" message_boxes || fail "no message box within ${limit}s"
box=$(head -n1 <<<"$output")
poll "$limit" shot "$box" "$artifacts/launch-failed.png" || fail "the message box was not painted"
xdotool key Return || fail "xdotool could not press Return"
poll "$limit" no_message_box || fail "the message box is still open ${limit}s after Return"
ok "screenshot $artifacts/launch-failed.png"

step "Escape closes the editor; Ctrl+Q ends tavik with status 0"
xdotool key Escape || fail "xdotool could not press Escape"
poll "$limit" no_editor || fail "the editor is still open ${limit}s after Escape"
poll "$limit" active "$main" || fail "the main window is not active"
xdotool key --clearmodifiers ctrl+q || fail "xdotool could not press Ctrl+Q"
wait_exit "$pid" "$limit" || fail "tavik still runs ${limit}s after Ctrl+Q"
[ "$status" -eq 0 ] || fail "tavik ended with status $status"
ok "ended"

echo "e2e links: all checks passed; screenshots in $artifacts"
