#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree: every
# file in its place, the icons at their sizes, and the desktop entry and
# the metadata clean under their validators.
#   installed_tree_test.sh BUILD_DIR APP_ID
set -euo pipefail
build_dir="$1"
app_id="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

DESTDIR="$work/root" cmake --install "$build_dir" --prefix /usr >/dev/null
usr="$work/root/usr"

expected="bin/teluri
bin/teluri-explorer
share/applications/$app_id.desktop"
for size in 128 16 24 256 32 48 64; do
    expected+="
share/icons/hicolor/${size}x${size}/apps/$app_id.png"
done
expected+="
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/teluri-explorer.1
share/man/man1/teluri.1
share/metainfo/$app_id.metainfo.xml
share/teluri-explorer/tutor.htm"
actual="$(cd "$usr" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
if [ "$actual" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    echo "installed files differ from the expected ones:" >&2
    diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual") >&2
    exit 1
fi

# A PNG's width and height stand in its header, at bytes 16 to 23.
for size in 16 24 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    read -r width height < <(od -An -tu1 -j16 -N8 "$png" |
        awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }')
    if [ "$width $height" != "$size $size" ]; then
        echo "$png is ${width}x${height}, not ${size}x${size}" >&2
        exit 1
    fi
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/$app_id.svg"
grep -q "^Icon=$app_id\$" "$usr/share/applications/$app_id.desktop"
# File managers offer the program for folders, which it takes as its argument.
grep -q '^Exec=teluri-explorer %f$' "$usr/share/applications/$app_id.desktop"
grep -q '^MimeType=\(.*;\)\?inode/directory;' "$usr/share/applications/$app_id.desktop"

# The manual pages come from the programs' own --help.
for program in teluri teluri-explorer; do
    grep -q 'output version information' "$usr/share/man/man1/$program.1"
    grep -q "^\.SH SYNOPSIS" "$usr/share/man/man1/$program.1"
done
grep -q 'FOLDER' "$usr/share/man/man1/teluri-explorer.1"

desktop-file-validate "$usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"
