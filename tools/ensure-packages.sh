#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those
# that are missing, quietly. Used by run.sh and test.sh.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    libicu-dev        # cp932 conversions (the windows-31j converter)
    libgtest-dev      # unit tests
    qt6-base-dev      # the windows: Qt 6 Widgets, PrintSupport, Network and Test
    qt6-translations-l10n  # the toolkit's own dialogs in Japanese
    qt6-svg-dev       # the scalable icon, drawn at build time
    help2man          # the manual pages, made from --help at build time
    desktop-file-utils appstream  # the installation test's validators
    fonts-ipafont-gothic  # Japanese fonts for the windows and the pages
    clang libclang-rt-14-dev  # fuzzing with libFuzzer
    python3           # the generators of the sample and benchmark archives
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
