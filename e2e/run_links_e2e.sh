#!/usr/bin/env bash
# End-to-end run of the item editor's link buttons on a private X display driven by xdotool:
#
#   bash e2e/run_links_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# A checklist whose comment names a ".jpg", a ".bmp", an ".exe" that does not exist and a
# ".txt" under "\My Documents\": the editor shows the two pictures stretched over their
# buttons and the other two names on yellow and cyan (checked on a screenshot); a tap on
# the bitmap starts the paint program (a script standing in for it records what it was
# given); a tap on the missing program says "起動失敗！". A second item names a text file,
# which the desktop's opener (xdg-open, set up to open text with a recorder) is given, and
# an executable script named like a text file, which is refused and never runs.
# Screenshots, the program's output and the records stay in the artifact folder.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

# Editor coordinates, found on screenshots: the four link buttons' centres ("LNK1" to
# "LNK4" from the left, 49 px apart).
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
printf 'photos\r\n \\My Documents\\photo.jpg\r\n \\My Documents\\map.BMP\r\n \\My Documents\\tool.exe\r\n \\My Documents\\readme.txt\r\nmilk\r\n \\My Documents\\readme.txt\r\n \\My Documents\\notes.txt\r\n' \
    >"$docs/links.lst" || fail "cannot write links.lst"
# A text file, and a script that would leave a mark if it ran.
printf 'read me\n' >"$docs/readme.txt" || fail "cannot write readme.txt"
mark="$artifacts/mark"
rm -f "$mark" "$artifacts/opened"
printf '#!/bin/sh\ntouch "%s"\n' "$mark" >"$docs/notes.txt" && chmod +x "$docs/notes.txt" || fail "cannot write notes.txt"
# The desktop's opener gives plain text to a recorder.
mkdir -p "$XDG_DATA_HOME/applications" || fail "cannot make the applications folder"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$artifacts/opened" >"$XDG_DATA_HOME/recorder" &&
    chmod +x "$XDG_DATA_HOME/recorder" || fail "cannot write the recorder"
printf '[Desktop Entry]\nType=Application\nName=Recorder\nExec=%s %%f\nMimeType=text/plain;\n' "$XDG_DATA_HOME/recorder" \
    >"$XDG_DATA_HOME/applications/recorder.desktop" || fail "cannot write recorder.desktop"
printf '[Default Applications]\ntext/plain=recorder.desktop\n' >"$XDG_CONFIG_HOME/mimeapps.list" || fail "cannot write mimeapps.list"
unset XDG_CURRENT_DESKTOP BROWSER
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
open_editor_on 0
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
answer_box launch-failed.png Return
ok "screenshot $artifacts/launch-failed.png"

step "Escape closes the editor; the editor on \"milk\": a tap on the text file hands it to the desktop's opener"
xdotool key Escape || fail "xdotool could not press Escape"
poll "$limit" no_editor || fail "the editor is still open ${limit}s after Escape"
open_editor_on 1
xdotool mousemove --window "$editor" "$(link_x 0)" "$link_y" click 1 || fail "xdotool could not click \"LNK1\""
opened() { [ -s "$artifacts/opened" ] && cat "$artifacts/opened"; }
poll 20 opened || fail "the desktop's opener was not given readme.txt within 20s"
[ "$output" = "$docs/readme.txt" ] || fail "the opener was given \"$output\", not \"$docs/readme.txt\""
ok "the opener was given $output"

step "a tap on the script named like a text file is refused with a message, and the script does not run"
xdotool mousemove --window "$editor" "$(link_x 1)" "$link_y" click 1 || fail "xdotool could not click \"LNK2\""
answer_box open-refused.png Return
sleep 1
[ ! -e "$mark" ] || fail "the script ran"
ok "screenshot $artifacts/open-refused.png; no mark"

step "Escape closes the editor; Ctrl+Q ends tavik with status 0"
xdotool key Escape || fail "xdotool could not press Escape"
poll "$limit" no_editor || fail "the editor is still open ${limit}s after Escape"
quit
ended "$pid"
ok "ended"

echo "e2e links: all checks passed; screenshots in $artifacts"
