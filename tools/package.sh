#!/usr/bin/env bash
# Builds the Debian package of the program, build-package/teluri-explorer_<version>_<arch>.deb,
# and checks it with lintian. Install it with `apt install ./build-package/<file>.deb`,
# remove it with `apt purge teluri-explorer`.
#   BUILD_DIR  the Release build folder (build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/ensure-packages.sh

# What packaging needs beyond the build: dpkg-shlibdeps and lintian.
missing=()
for package in dpkg-dev lintian; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" >/dev/null
fi

build_dir="${BUILD_DIR:-build-package}"
package=teluri-explorer
# Debian's compiler and linker flags, with every hardening feature.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target teluri-explorer teluri desktop_files
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")"
architecture="$(dpkg --print-architecture)"

# The package's tree, where the Debian tools look for it: debian/<package>.
stage="$build_dir/debian/$package"
rm -rf "$build_dir/debian"
mkdir -p "$stage"
DESTDIR="$PWD/$stage" cmake --install "$build_dir" >/dev/null
# What the Debian tools do for a package: stripped programs, compressed
# manual pages and changelog, a copyright file, modes the policy asks for.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage"/usr/bin/*
gzip -9n "$stage"/usr/share/man/man1/*.1
doc="$stage/usr/share/doc/$package"
mkdir -p "$doc"
date="$(date -R -u -d "@${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}")"
cat >"$doc/changelog" <<CHANGELOG
$package ($version) unstable; urgency=medium

  * Release $version: installs as a desktop program, with a menu entry,
    icons, AppStream metadata and manual pages; the toolkit's dialogs in
    Japanese; a page can be saved as PDF.

 -- Teluri Explorer developers <teluri-explorer@example.org>  $date
CHANGELOG
gzip -9n "$doc/changelog"
cat >"$doc/copyright" <<'COPYRIGHT'
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Teluri Explorer

Files: *
Copyright: 2026 The Teluri Explorer developers
License: unspecified
 The terms under which this program is distributed are those stated in its
 source repository.
COPYRIGHT
find "$stage" -type d -exec chmod 0755 {} +
find "$stage" -type f -exec chmod 0644 {} +
chmod 0755 "$stage"/usr/bin/*

# The libraries the programs link, as dpkg-shlibdeps finds them (the X11
# platform plugin comes with libqt6gui6), and the Japanese fonts the windows
# need; the toolkit's Japanese dialogs are recommended, and so is the fcitx5
# front end for typing Japanese (the ibus one comes with libqt6gui6).
mkdir -p "$stage/DEBIAN"  # how dpkg-shlibdeps finds the package's tree
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" \
    >"$build_dir/debian/control"
depends="$(cd "$build_dir" && dpkg-shlibdeps -O -e"debian/$package/usr/bin/teluri" \
    -e"debian/$package/usr/bin/teluri-explorer" |
    sed -n 's/^shlibs:Depends=//p')"

cat >"$stage/DEBIAN/control" <<CONTROL
Package: $package
Version: $version
Architecture: $architecture
Maintainer: Teluri Explorer developers <teluri-explorer@example.org>
Installed-Size: $(du -sk --exclude=DEBIAN "$stage" | cut -f1)
Depends: $depends, fonts-ipafont-gothic | fonts-japanese-gothic
Recommends: qt6-translations-l10n, fcitx5-frontend-qt6
Suggests: fcitx5-mozc | ibus-mozc | ibus-anthy
Section: utils
Priority: optional
Description: viewer for a message-board archive, as a tree of threads
 Teluri Explorer shows the archive of a message board's lounge, a folder of
 HTML pages in Shift-JIS (one per message, named after its number), as a
 tree of threads rebuilt from the pages' reply links, beside the selected
 page. It searches the full text of every page and keeps bookmarks. Its
 windows speak Japanese.
 .
 The package holds the window program teluri-explorer and the command
 teluri, which runs the same analysis and search for scripts.
CONTROL
(cd "$stage" && find usr -type f -exec md5sum {} + | LC_ALL=C sort -k2) >"$stage/DEBIAN/md5sums"
chmod 0644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

deb="$build_dir/${package}_${version}_${architecture}.deb"
dpkg-deb --root-owner-group --build "$stage" "$deb" >/dev/null
echo "$deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Recommends\|Suggests\):/\1:/p'
lintian --info "$deb" || true
