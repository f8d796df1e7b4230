#!/usr/bin/env bash
# End-to-end run of the main screen, read over the accessibility bus as a screen reader reads it
# (screen_reader.py): bash e2e/run_screen_e2e.sh PATH/TO/tavik ARTIFACT_FOLDER
# The counter as rows are marked, moved, deleted and taken back; another program's changes, shown
# but never over unsaved marks, which choosing another file neither loses nor writes unasked; the
# chooser at the root; a second start handing its file over; Save As; the about box; Ctrl+Q.
set -uo pipefail

[ $# -eq 2 ] || { echo "usage: $0 PATH/TO/tavik ARTIFACT_FOLDER" >&2; exit 2; }
# The accessibility bus lives on a session bus of this run's own.
if [ -z "${TAVIK_E2E_BUS:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "FAIL: dbus-run-session is not installed (bash scripts/setup.sh installs it)" >&2; exit 1; }
    TAVIK_E2E_BUS=1 exec dbus-run-session -- bash "$0" "$@" 2> >(grep -v '^dbus-daemon\|^SpiRegistry' >&2)
fi
# shellcheck source-path=SCRIPTDIR source=e2e_lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# The screen reader runs through the whole run and reads the screen on each request.
reader() {
    local controls
    echo >&8 && IFS= read -r controls <&7 && tr '\037' '\n' <<<"$controls"
}
# FIELD (3: the name, 5: the box) of the counter, the chooser and the list: main_window FIELD
main_window() {
    reader | awk -F'\t' -v f="$1" '$1 == "main" && ($2 == "label" && $3 ~ /%/ || $2 == "combo box" || $2 == "table") { a[$2] = $f }
        END { if (length(a) == 3) printf "%s\t%s\t%s\n", a["label"], a["combo box"], a["table"] }'
}
# The names of every control of ROLE in WINDOW: names_of ROLE WINDOW
names_of() { reader | awk -F'\t' -v r="$1" -v w="$2" '$1 == w && $2 == r { print $3 }'; }
entries() { names_of 'list item' main; }
# Waits until the counter reads FIGURES (its lines joined by "|") and, if given, the chooser
# NAME, which it shows a second after a file opens: shows FIGURES [NAME]
shows() {
    poll "$limit" reads "$@" || fail "the counter and the chooser read \"$(main_window 3 | cut -f1-2)\", not \"$*\""
}
reads() { [ "$(main_window 3 | cut -f"1-$#")" = "$(printf '%s\t%s' "$@" | cut -f"1-$#")" ] && echo yes; }
# The list reaches the window's right edge: list_width PIXELS
list_width() { main_window 5 | cut -f3 | awk -v w="$1" '$3 == w'; }
# Answers the message box that reads TEXT by keys: asks TEXT KEY...
asks() {
    poll "$limit" eval "names_of label tavik | grep -xF '$1'" || fail "no message box reads \"$1\""
    answer_box "$1" "${@:2}"
}
save_as_folder() { names_of label '名前を付けて保存' | grep -xF '\My Documents\'; }
# The counter's box lies above or left of the list, and its glyphs inside it with background
# all round, so that no line is cut: counter_whole PICTURE
counter_whole() {
    local x y w h lx ly tw th tx ty boxes counter list
    boxes=$(main_window 5) && counter=$(cut -f1 <<<"$boxes") && list=$(cut -f3 <<<"$boxes")
    read -r x y w h <<<"$counter"
    read -r lx ly _ <<<"$list"
    [ $((y + h)) -le "$ly" ] || [ $((x + w)) -le "$lx" ] || fail "the counter ($counter) reaches into the list ($list)"
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$artifacts/$1" 2>/dev/null || fail "no picture of the counter"
    read -r tw th tx ty <<<"$(convert "$artifacts/$1" -trim -format '%w %h %X %Y' info: 2>/dev/null | tr -d +)"
    [ "$tx" -ge 1 ] && [ "$ty" -ge 1 ] && [ $((tx + tw)) -lt "$w" ] && [ $((ty + th)) -lt "$h" ] ||
        fail "the counter's glyphs (${tw}x${th}+$tx+$ty) touch the edge of its ${w}x${h} box: see $1"
}

# Opens the chooser and picks an entry by keys: pick KEY...
pick() {
    click "$main" 170 10
    poll "$limit" popups || fail "the chooser did not open within ${limit}s"
    choose "$@"
}

e2e_begin "$1" "$2"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is not installed (bash scripts/setup.sh installs it)"
coproc READER { /usr/bin/python3 -u "$e2e_here/screen_reader.py" 2>"$artifacts/screen-reader.log"; }
e2e_pids[$READER_PID]=1
exec 7<&"${READER[0]}" 8>&"${READER[1]}"
shop="$docs/shop.lst" other="$docs/other.lst"
cp932 "$shop" $'milk\r\nbread\r\n○<03/03/05>tea\r\neggs\r\n'
printf 'call the bank\r\n' >"$other"
cp "$other" "$artifacts/other.original"
# A rewrite keeps the file's mode; a new file gets the one the umask leaves.
chmod 640 "$shop"
remember_file shop.lst
today=$(date +%y/%m/%d)

step "start tavik on shop.lst: a 240×320 window, its controls named, the counter whole, also in a large window"
vd_start 1024x768x24 || fail "the virtual display did not start"
start_main first
pid=$started
eval "$(xdotool getwindowgeometry --shell "$main")" || fail "the main window has gone"
[ $((WIDTH - 240))$((HEIGHT - 320)) = 00 ] || fail "the main window is ${WIDTH}×${HEIGHT}"
shows '1/4|25%' ' shop.lst'
names=$(reader | cut -f1-4)
for expected in $'push button\tマーク\t' $'push button\tメニュー\t' $'combo box\t shop.lst\tファイル' \
    $'table\tチェックリスト\t' $'text\tコメント\t'; do
    grep -qxF "main"$'\t'"$expected" <<<"$names" || fail "no control reads \"$expected\"; the controls read:"$'\n'"$names"
done
counter_whole counter-default.png
xdotool windowsize --sync "$main" 1000 700 || fail "xdotool could not resize the window"
poll "$limit" list_width 1000 || fail "the list did not grow with the window"
counter_whole counter-large.png
xdotool windowsize --sync "$main" 240 320 || fail "xdotool could not resize the window"
poll "$limit" list_width 240 || fail "the list did not shrink with the window"

step "Space, Ctrl+Z, Ctrl+Y on \"milk\" count it done, not done, done; Alt+Down moves it; nothing written yet"
select_row 0
for figures in 'space 2/4|50%' 'ctrl+z 1/4|25%' 'ctrl+y 2/4|50%'; do
    keys "${figures% *}"
    shows "${figures#* }"
done
keys alt+Down
poll "$limit" row_selected 1 || fail "the moved row is not selected"
file_is "$shop" $'milk\r\nbread\r\n○<03/03/05>tea\r\neggs\r\n' "marks and moves wait for a write" 0

step "Delete asks first, then deletes \"milk\" and writes at once; Ctrl+Z brings it back and writes too"
keys Delete
asks 'データが削除されます' Return
file_is "$shop" $'\r\n 削除＝＞\r\n milk<'"$today"$'>\r\n\r\n ＜＝削除\r\n\r\nbread\r\n削<'"$today"$'>\r\n○<03/03/05>tea\r\neggs\r\n' "after Delete"
shows '1/3|33%'
keys ctrl+z
file_is "$shop" $'\r\nbread\r\n○<'"$today"$'>milk\r\n○<03/03/05>tea\r\neggs\r\n' "after Ctrl+Z"

step "another program appends \"jam\": shown; with \"eggs\" marked by the button, its \"salt\" is not"
printf 'jam\r\n' >>"$shop"
shows '2/5|40%'
select_row 3
click "$main" 15 10
shows '3/5|60%'
printf 'salt\r\n' >>"$shop"
cp "$shop" "$artifacts/shop.outside"
: >"$docs/extra.lst"
# The chooser lists the new file once the change has been handled.
poll "$limit" eval "entries | grep -x ' extra.lst'" || fail "the chooser does not list extra.lst"
shows '3/5|60%'

step "choose other.lst: \"No\" to overwriting and to discarding keeps shop.lst open and both versions"
pick Home Down
asks 'ファイルが他のプログラムで変更されています。上書きしますか？' Return
asks '変更は保存されていません。破棄しますか？' Return
shows '3/5|60%' ' shop.lst'
cmp -s "$shop" "$artifacts/shop.outside" || fail "shop.lst was written"

step "choose other.lst again, \"Yes\" to overwriting: shop.lst written with the marks, other.lst open"
pick Home Down
asks 'ファイルが他のプログラムで変更されています。上書きしますか？' Left Return
shows '0/1|0%'
shop_final=$'\r\nbread\r\n○<'"$today"$'>milk\r\n○<03/03/05>tea\r\n○<'"$today"$'>eggs\r\njam\r\n'
file_is "$shop" "$shop_final" "after choosing other.lst" 0

step "up to the root: no entry chosen, nothing counted, only \"∇[My Documents]\" offered"
pick End
shows '0/0|0%' 'ファイル'
[ "$(entries)" = '∇[My Documents]' ] || fail "the root offers: $(entries | tr '\n' ' ')"

step "a second tavik given shop.lst hands it to the minimised first window and ends"
xdotool windowminimize --sync "$main" || fail "xdotool could not minimise the window"
start_tavik second "$shop"
wait_exit "$started" 5 || fail "the second tavik still runs after 5s"
[ "$status" -eq 0 ] || fail "the second tavik ended with status $status"
poll "$limit" active "$main" || fail "the first window is not active again"
shows '3/5|60%'
[ "$(tavik_windows --name no)" = "$main" ] || fail "windows titled \"tavik\": $(tavik_windows --name no | tr '\n' ' ')"

step "Save As \"new\", then \"other\": the dialog names \\My Documents\\; onto other.lst it asks, and \"No\" keeps it"
for name in new other; do
    open_menu Down Down Down Down Right
    choose Down
    wait_window '名前を付けて保存'
    poll "$limit" save_as_folder || fail "the Save As dialog does not name \\My Documents\\"
    keys ctrl+a
    type_text "$name"
    keys Return
done
asks '「other.lst」は既にあります。上書きしますか？' Return
shows '3/5|60%' ' new.lst'
file_is "$docs/new.lst" "$shop_final" "after Save As"
cmp "$other" "$artifacts/other.original" || fail "other.lst changed"
modes="$(stat -c %a "$shop") $(stat -c %a "$docs/new.lst")"
[ "$modes" = "640 $(printf '%o' $((0666 & ~$(umask))))" ] || fail "shop.lst and new.lst have the modes $modes"

step "\"ツール\" → the about box; Return closes it; Ctrl+Q ends tavik and new.lst is remembered"
click "$main" 25 306
poll "$limit" popups || fail "no menu opened within ${limit}s of a click on \"ツール\""
choose Up Up # from the bottom: the read-aloud entry at the top is disabled without the speech program
wait_window 'tavik のバージョン情報'
keys Return
poll "$limit" active "$main" || fail "the about box did not close"
quit "$pid"
grep -qx 'FileName=new.lst' "$XDG_CONFIG_HOME/Vantra/tavik.conf" || fail "the profile holds $(cat "$XDG_CONFIG_HOME/Vantra/tavik.conf")"
echo "e2e screen: all checks passed"
