#!/usr/bin/env bash
# The package check of `make test`: builds the Debian package from a build folder with CPack
# into a temporary folder, validates its desktop entry, its AppStream metainfo and the package
# itself (lintian, no errors), checks that it holds every file tavik needs and that the file
# type it declares is the one it registers, then unpacks it and runs its tavik-lst.
#   check_package.sh BUILD_DIR VERSION APPSTREAM_ID
set -euo pipefail

build=$1
version=$2
appstream_id=$3

fail() {
    echo "package check: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli update-mime-database iconv; do
    command -v "$tool" >/dev/null 2>&1 || fail "'$tool' is not installed (bash scripts/setup.sh installs it)"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tavik-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Built in the temporary folder, so that `make package`'s file in the build folder stays as it is.
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    fail "cpack failed"
fi
deb="$work/out/tavik_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "cpack wrote no $(basename "$deb"): $(ls "$work/out")"
echo "built $(basename "$deb")"

# Every file a user of the package needs, as dpkg-deb lists them ("./usr/...", names may hold blanks).
mapfile -t listed < <(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//')
expected=(
    ./usr/bin/tavik
    ./usr/bin/tavik-lst
    "./usr/lib/tavik/Program Files/VELUN-SPEECH/ReadOut.exe"
    ./usr/share/applications/tavik.desktop
    ./usr/share/icons/hicolor/16x16/apps/tavik.png
    ./usr/share/icons/hicolor/32x32/apps/tavik.png
    ./usr/share/icons/hicolor/256x256/apps/tavik.png
    "./usr/share/metainfo/$appstream_id.metainfo.xml"
    ./usr/share/mime/packages/tavik.xml
    ./usr/share/man/man1/tavik.1.gz
    ./usr/share/man/man1/tavik-lst.1.gz
    ./usr/share/doc/tavik/copyright
    ./usr/share/doc/tavik/changelog.gz
)
for file in "${expected[@]}"; do
    printf '%s\n' "${listed[@]}" | grep -qxF -- "$file" || fail "the package lacks $file"
done

# The libraries come from dpkg-shlibdeps; what no link shows is declared by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libqt6network6 libjpeg62-turbo libmecab2 libespeak-ng1 \
    mecab-ipadic-utf8 fonts-ipafont-gothic qt6-translations-l10n xdg-utils shared-mime-info; do
    [[ ", $depends," == *", $package "* || ", $depends," == *", $package,"* ]] ||
        fail "Depends lacks $package: $depends"
done

# Warnings are allowed, errors are not; the report is printed either way.
lintian_status=0
lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || lintian_status=$?
grep -v '^running with root privileges' "$work/lintian.log" || true
[ "$lintian_status" -eq 0 ] || fail "lintian found errors"

root="$work/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"

desktop-file-validate "$share/applications/tavik.desktop" || fail "desktop-file-validate failed"
# The metainfo alone, then with the tree: its launchable must name the packaged desktop entry.
appstreamcli validate --no-net "$share/metainfo/$appstream_id.metainfo.xml" || fail "the metainfo is not valid"
appstreamcli validate-tree --no-net "$root" || fail "the metainfo does not fit the package's files"

# "Open with tavik": the type the desktop entry and the metainfo name is the one that
# shared-mime-info registers for *.lst, under text/plain.
checklist_type=application/x-tavik-checklist
grep -qx 'Exec=tavik %f' "$share/applications/tavik.desktop" || fail "the desktop entry passes no file to tavik"
grep -qx "MimeType=$checklist_type;text/plain;" "$share/applications/tavik.desktop" ||
    fail "the desktop entry does not declare $checklist_type and text/plain"
grep -q "<mediatype>$checklist_type</mediatype>" "$share/metainfo/$appstream_id.metainfo.xml" ||
    fail "the metainfo does not name $checklist_type"
mkdir -p "$work/mime/packages"
cp "$share/mime/packages/tavik.xml" "$work/mime/packages/"
# (It notes that the temporary folder is outside XDG_DATA_DIRS: shown only on failure.)
if ! update-mime-database "$work/mime" >"$work/mime.log" 2>&1; then
    cat "$work/mime.log" >&2
    fail "shared-mime-info refuses tavik.xml"
fi
grep -q ":$checklist_type:\*\.lst$" "$work/mime/globs2" || fail "*.lst is not registered as $checklist_type"
grep -qx "$checklist_type text/plain" "$work/mime/subclasses" || fail "$checklist_type is no kind of text/plain"

# The installed program finds its speech program in ../lib/tavik from its own folder.
[ -x "$root/usr/bin/../lib/tavik/Program Files/VELUN-SPEECH/ReadOut.exe" ] ||
    fail "the speech program is not where /usr/bin/tavik looks for it"
for program in "$root/usr/bin/tavik" "$root/usr/bin/tavik-lst" "$root/usr/lib/tavik/Program Files/VELUN-SPEECH/ReadOut.exe"; do
    if env -u LD_LIBRARY_PATH ldd "$program" | grep 'not found'; then
        fail "$program needs a library the system does not have"
    fi
done

# The unpacked tavik-lst counts a CP932 checklist with the system's libraries alone.
printf '○<02/12/23>牛乳\r\nパン\r\n×<02/12/22>卵\r\n' | iconv -f UTF-8 -t CP932 >"$work/list.lst"
stats=$(env -u LD_LIBRARY_PATH "$root/usr/bin/tavik-lst" stats "$work/list.lst") || fail "tavik-lst stats failed"
[ "$stats" = $'1/3\n33%' ] || fail "tavik-lst stats printed '$stats', not '1/3 33%'"

echo "package check: $(basename "$deb") passed"
