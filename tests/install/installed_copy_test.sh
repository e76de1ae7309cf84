#!/usr/bin/env bash
# Starts installed copies of the window program, with a temporary HOME, and
# checks where their files go: the per-user data folder for an installed
# copy (made at the first start, for the user alone), the folder named by
# TELURI_HOME when it is set, the executable's folder for a portable copy.
#   installed_copy_test.sh BUILD_DIR
set -euo pipefail
build_dir="$1"
work="$(mktemp -d)"
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" >/dev/null
program="$work/prefix/bin/teluri-explorer"

fail() {
    echo "$*" >&2
    exit 1
}

# Starts the program offscreen with the given environment (TELURI_HOME and
# XDG_DATA_HOME unset unless given), waits until `folder` exists and a
# moment more, checks that the program still runs and holds its lock file
# there, and stops it.
start_until_folder() {
    local folder="$1"
    shift
    # The running copy's local socket goes to TMPDIR: into the work folder,
    # since a stopped copy leaves it behind.
    mkdir -p "$work/tmp"
    env -u TELURI_HOME -u XDG_DATA_HOME TMPDIR="$work/tmp" QT_QPA_PLATFORM=offscreen "$@" "$program" &
    pid=$!
    for _ in $(seq 200); do
        if [ -d "$folder" ]; then
            break
        fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up"
        sleep 0.1
    done
    sleep 1.5
    kill -0 "$pid" 2>/dev/null || fail "the program ended at start-up"
    [ -e "$folder/Teluri.lock" ] || fail "no lock file in $folder"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=""
    [ -d "$folder" ] || fail "$folder was not made"
}

"$program" --version | grep -q '^teluri-explorer (Teluri Explorer) '

# Installed copy: ~/.local/share/teluri-explorer/, made for the user alone.
home="$work/home"
mkdir -p "$home"
start_until_folder "$home/.local/share/teluri-explorer" HOME="$home"
[ "$(stat -c %a "$home/.local/share/teluri-explorer")" = 700 ] || fail "the folder is not private"
[ -z "$(ls -A "$work/prefix/bin" | grep -v '^teluri')" ] || fail "files written beside the executable"
[ ! -e "$home/.config" ] || fail "the toolkit wrote a settings file under ~/.config"

# XDG_DATA_HOME moves it; a relative one is ignored.
start_until_folder "$work/data/teluri-explorer" HOME="$home" XDG_DATA_HOME="$work/data"
rm -rf "$home/.local"
start_until_folder "$home/.local/share/teluri-explorer" HOME="$home" XDG_DATA_HOME=relative/data
[ ! -e relative ] || fail "a relative XDG_DATA_HOME was used"

# TELURI_HOME comes first; nothing is made under HOME then.
rm -rf "$home/.local"
mkdir -p "$work/teluri-home"
start_until_folder "$work/teluri-home" HOME="$home" TELURI_HOME="$work/teluri-home"
[ ! -e "$home/.local" ] || fail "the per-user folder was made although TELURI_HOME is set"

# A portable copy (no share/teluri-explorer/ beside bin/) keeps the
# executable's folder and makes nothing under HOME.
mkdir -p "$work/portable"
cp "$program" "$work/portable/"
program="$work/portable/teluri-explorer"
start_until_folder "$work/portable" HOME="$home"
[ ! -e "$home/.local" ] || fail "a portable copy made the per-user folder"
