#!/usr/bin/env bash
# End-to-end run of what the main screen shows, read back over the accessibility bus as a
# screen reader reads it (e2e/screen_reader.py) and photographed:
#
#   bash e2e/run_screen_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
#
# The counter whole and clear of the list at the default size, in a large window and at
# double scale; another file opening at its top while a reload keeps its place; the chooser
# showing the open file's own entry, and none in a folder with no file open; Save As keeping
# one "\" after the folder; Tab in the item editor going from the item to the comment.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# The accessibility bus lives on a session bus of this run's own.
if [ -z "${TAVIK_E2E_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is not installed (bash scripts/setup.sh installs it)" >&2; exit 1; }
    TAVIK_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v '^dbus-daemon\|^SpiRegistry' >&2)
fi
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

readonly reader="$e2e_here/screen_reader.py" save_as_title='名前を付けて保存'
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# One fact read from the screen (see screen_reader.py); empty while tavik does not show it.
read_screen() { /usr/bin/python3 "$reader" "$@" 2>/dev/null; }
# Waits until the fact is the text given: shows WHAT TEXT [ARG]
shows_exactly() { [ "$(read_screen "$1" "${@:3}")" = "$2" ] && echo yes; }
shows() { poll "$limit" shows_exactly "$@" || fail "$1 reads \"$(read_screen "$1" "${@:3}")\", not \"$2\""; }
save_as_windows() { xdotool search --onlyvisible --name "^${save_as_title}\$" 2>/dev/null; }
type_text() { LC_ALL=C.UTF-8 xdotool type --delay 15 "$1" || fail "xdotool could not type \"$1\""; }
written() { grep -qa soap "$1" 2>/dev/null && echo yes; }
cp932() { printf '%s' "$2" | iconv -f UTF-8 -t CP932 >"$1" || fail "cannot write $1"; }

# The bus gives boxes in device-independent pixels; the screen has `scale` pixels for each,
# counted from the main window's corner: on_screen X Y W H
scale=1
on_screen() {
    local wx wy x y
    poll "$limit" read_screen window || fail "the main window cannot be read"
    read -r wx wy _ <<<"$output"
    x=$(xwininfo -id "$main" | sed -n 's/^ *Absolute upper-left X: *//p')
    y=$(xwininfo -id "$main" | sed -n 's/^ *Absolute upper-left Y: *//p')
    echo "$((x + ($1 - wx) * scale)) $((y + ($2 - wy) * scale)) $(($3 * scale)) $(($4 * scale))"
}

# The counter reads TEXT (its lines joined by "|"), its box lies above the list, and its
# glyphs lie inside its box with background all round, so that no line is cut: counter_whole
# TEXT PICTURE
counter_whole() {
    local text box list x y w h lx ly lw lh trimmed
    poll "$limit" read_screen counter || fail "the counter cannot be read"
    text=${output%%$'\t'*} box=${output#*$'\t'}
    [ "$text" = "$1" ] || fail "the counter reads \"$text\", not \"$1\""
    read -r x y w h <<<"$(on_screen $box)"
    read -r lx ly lw lh <<<"$(on_screen $(read_screen list))"
    [ $((y + h)) -le "$ly" ] || [ $((x + w)) -le "$lx" ] ||
        fail "the counter ($box) reaches into the list ($lx $ly $lw $lh)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/$2" 2>/dev/null || fail "no picture of the counter"
    # The glyphs' bounding box, as "WxH+X+Y" inside the counter's box.
    trimmed=$(convert "$artifacts/$2" -trim -format '%w %h %X %Y' info: 2>/dev/null)
    read -r tw th tx ty <<<"${trimmed//+/}"
    [ "$tw" -lt "$w" ] && [ "$th" -lt "$h" ] && [ "$tx" -ge 1 ] && [ "$ty" -ge 1 ] &&
        [ $((tx + tw)) -lt "$w" ] && [ $((ty + th)) -lt "$h" ] ||
        fail "the counter's text touches the edge of its box ($trimmed in ${w}x${h}): cut off; see $2"
    ok "\"$1\" whole in $box, above the list; picture $2"
}

e2e_begin "$1" "$2"
command -v convert >/dev/null || fail "'convert' is not installed (bash scripts/setup.sh installs it)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed (bash scripts/setup.sh installs it)"
docs="$TAVIK_ROOT/My Documents"
mkdir -p "$docs/sub" || fail "cannot make the sample folders"
# long.lst: 150 items, 12 of them done; long2.lst: 100 items; a.lst beside a.lst.lst.
{
    for i in $(seq 1 12); do printf '\x81\x9b<26/12/01>done %d\r\n' "$i"; done
    for i in $(seq 13 150); do printf 'item %d\r\n' "$i"; done
} >"$docs/long.lst"
for i in $(seq 1 100); do printf 'other %d\r\n' "$i"; done >"$docs/long2.lst"
printf 'milk\r\nbread\r\n' >"$docs/a.lst"
printf 'tea\r\n' >"$docs/a.lst.lst"
printf 'soap\r\n' >"$docs/sub/s.lst"
remember_file long.lst

step "a private display with openbox"
vd_start 1024x768x24 || fail "the virtual display did not start"
ok "display $DISPLAY"

step "start tavik on long.lst: the counter reads 12/150 over 8%, whole"
start_main first
pid=$started
poll "$limit" shot "$main" "$artifacts/main-window.png" || fail "the main window was not painted"
counter_whole '12/150|8%' counter-default.png

step "a screen reader hears each control by its name: マーク, メニュー, the chooser labelled ファイル, チェックリスト"
poll "$limit" read_screen names || fail "the controls cannot be read"
names=$output
for expected in $'push button\tマーク\t' $'push button\tメニュー\t' $'combo box\t long.lst\tファイル' \
    $'table\tチェックリスト\t' $'text\tコメント\t'; do
    grep -qxF "$expected" <<<"$names" || fail "no control reads \"${expected//$'\t'/|}\"; the controls read:"$'\n'"$names"
done
ok "$(wc -l <<<"$names") controls named"

step "in a 1000×700 window the counter is still whole"
xdotool windowsize --sync "$main" 1000 700 || fail "xdotool could not resize the window"
sleep 0.5
counter_whole '12/150|8%' counter-large.png
poll "$limit" shot "$main" "$artifacts/main-large.png" || fail "the large window was not painted"
xdotool windowsize --sync "$main" 240 320 || fail "xdotool could not resize the window"
sleep 0.5

step "scroll to the end of long.lst, then choose long2.lst: it opens at its top"
select_row 0
xdotool key End || fail "xdotool could not press End"
poll "$limit" read_screen first-row || fail "the list's rows cannot be read"
[ "$output" -gt 100 ] || fail "End left row $output at the top of the list"
xdotool mousemove --window "$main" 170 10 click 1 sleep 0.5 key Down Return || fail "xdotool could not choose"
shows chooser ' long2.lst'
shows first-row 0
counter_whole '0/100|0%' counter-long2.png
poll "$limit" shot "$main" "$artifacts/long2-top.png" || fail "long2.lst was not painted"
ok "long2.lst from its first row; picture long2-top.png"

step "another program adds a line to long2.lst while it is scrolled down: the reload keeps the place"
select_row 0
xdotool key End || fail "xdotool could not press End"
poll "$limit" read_screen first-row || fail "the list's rows cannot be read"
place=$output
[ "$place" -gt 50 ] || fail "End left row $place at the top of the list"
printf 'added by another program\r\n' >>"$docs/long2.lst"
shows figures '0/101|0%'
shows first-row "$place"
ok "row $place still first in sight"

step "choose a.lst: a second later the chooser shows \" a.lst\", not \" a.lst.lst\""
xdotool mousemove --window "$main" 170 10 click 1 sleep 0.5 key Home Return || fail "xdotool could not choose"
shows figures '0/2|0%'
sleep 1.5 # the chooser shows the open file a second after loading
shows chooser ' a.lst'
poll "$limit" shot "$main" "$artifacts/chooser-a.png" || fail "a.lst was not painted"
ok "picture chooser-a.png"

step "Tab in the item editor goes from the item to the comment; a space typed there stays in the comment"
open_editor_on 0
xdotool key Tab || fail "xdotool could not press Tab"
poll "$limit" read_screen focus || fail "nothing has the focus in the editor"
[[ $output == text$'\t'* ]] || fail "after Tab the focus is on \"$output\", not the comment"
type_text ' to buy'
sleep 0.3
[ "$(editor_windows)" = "$editor" ] || fail "typing a space after Tab closed the editor"
shows focus $'text\t to buy'
poll "$limit" shot "$editor" "$artifacts/editor-tab.png" || fail "the editor was not painted"
xdotool mousemove --window "$editor" 120 7 click 1 || fail "xdotool could not click OK"
poll "$limit" no_editor || fail "the editor is still open after OK"
cp932 "$artifacts/a.expected" $'\r\nmilk\r\n to buy\r\nbread\r\n'
poll "$limit" same_file "$artifacts/a.expected" "$docs/a.lst" || fail "a.lst holds $(od -c "$docs/a.lst" | head -3)"
ok "a.lst holds the comment; picture editor-tab.png"

step "enter the folder sub: no entry is chosen, the list is empty and the counter reads 0/0 over 0%"
xdotool mousemove --window "$main" 170 10 click 1 sleep 0.5 key End Up Return || fail "xdotool could not choose"
shows entries $' s.lst\n△[上のフォルダへ]'
sleep 1.5
# With no entry chosen a screen reader speaks the chooser by its label.
shows chooser 'ファイル'
counter_whole '0/0|0%' counter-folder.png
poll "$limit" shot "$main" "$artifacts/folder-open.png" || fail "the folder was not painted"

step "open s.lst, then Save As twice: the dialog shows \"\\My Documents\\sub\\\" each time"
xdotool mousemove --window "$main" 170 10 click 1 sleep 0.5 key Home Return || fail "xdotool could not choose"
shows figures '0/1|0%'
for name in t u; do
    open_menu "menu-file-$name.png"
    xdotool key Down Down Down Down Right || fail "xdotool could not open \"ファイル\""
    sleep 0.3
    choose Down
    poll "$limit" save_as_windows || fail "no window \"$save_as_title\" within ${limit}s"
    dialog=$(head -n1 <<<"$output")
    poll "$limit" active "$dialog" || fail "the Save As dialog is not active"
    poll "$limit" read_screen labels "$save_as_title" || fail "the Save As dialog cannot be read"
    grep -qxF '\My Documents\sub\' <<<"$output" || fail "the Save As dialog shows: $(tr '\n' ' ' <<<"$output")"
    poll "$limit" shot "$dialog" "$artifacts/save-as-$name.png" || fail "the dialog was not painted"
    xdotool key --clearmodifiers ctrl+a && type_text "$name" && xdotool key Return || fail "xdotool could not type"
    poll "$limit" written "$docs/sub/$name.lst" || fail "$name.lst was not written"
    shows chooser " $name.lst"
done
grep -qxF 'Folder=\\My Documents\\sub' "$XDG_CONFIG_HOME/Vantra/tavik.conf" ||
    fail "the profile holds $(cat "$XDG_CONFIG_HOME/Vantra/tavik.conf")"
ok "pictures save-as-t.png and save-as-u.png; the profile holds the folder once"

step "up twice to the root: it offers no way further up"
xdotool mousemove --window "$main" 170 10 click 1 sleep 0.5 key End Return || fail "xdotool could not choose"
shows chooser 'ファイル'
xdotool mousemove --window "$main" 170 10 click 1 sleep 0.5 key End Return || fail "xdotool could not choose"
shows entries '∇[My Documents]'
ok "the root lists ∇[My Documents] alone"
quit
ended "$pid"

step "at double scale the counter of long.lst is whole"
remember_file long.lst
scale=2
QT_SCALE_FACTOR=$scale start_main second
pid=$started
poll "$limit" shot "$main" "$artifacts/main-scale2.png" || fail "the main window was not painted"
counter_whole '12/150|8%' counter-scale2.png
quit
ended "$pid"

echo "e2e screen: all checks passed; screenshots in $artifacts"
