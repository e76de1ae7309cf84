#!/usr/bin/env bash
# The window program from outside: started with a data folder, handed a
# second folder by a second start, ended by SIGTERM; then, under Xvfb when
# it is installed, a page read and the display's connection closing.
# After each end: the files saved, no lock file, no socket, no temporary
# file left.
#   program_end_test.sh PROGRAM SAMPLE_FOLDER
set -euo pipefail
program="$1"
sample="$2"
work="$(mktemp -d)"
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

fail() {
    echo "$*" >&2
    exit 1
}

# Waits until the command succeeds, for at most 20 seconds.
wait_for() {
    for _ in $(seq 200); do
        if "$@" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    fail "timed out waiting for: $*"
}

home="$work/home"
mkdir -p "$home" "$work/tmp" "$work/first" "$work/second"
cp "$sample"/*.msg "$work/first/"
cp "$sample"/10[0-2]*.msg "$work/second/"
# The program's environment: its own folder, its socket in the work folder.
export TELURI_HOME="$home" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/tmp"

# Nothing but the program's own files; no lock, temporary file or socket.
expect_clean_end() {
    [ ! -e "$home/Teluri.lock" ] || fail "the lock file was left behind"
    local left
    left="$(cd "$home" && ls -A | grep -v -x -E 'Teluri\.ini|Tree\.dat|Window\.ini|Read\.dat|Teluri\.run' || true)"
    [ -z "$left" ] || fail "files left in the program folder: $left"
    # The socket's private folder may stay, empty.
    [ ! -e "$home/Teluri.run" ] || [ -z "$(ls -A "$home/Teluri.run")" ] ||
        fail "the socket was left behind: $(ls -A "$home/Teluri.run")"
    [ -z "$(find "$work/tmp" -type s)" ] || fail "the local socket was left behind"
}

# Offscreen: the folder of the command line, a second start with another.
QT_QPA_PLATFORM=offscreen "$program" "$work/first" 2>"$work/first.log" &
pid=$!
pids+=("$pid")
wait_for grep -q "^Path=$work/first/" "$home/Teluri.ini"
wait_for test -s "$home/Tree.dat"
# A running copy busy for 2 seconds does not answer (the second start then
# shows "すでに起動しています"): on a loaded machine, one more try.
QT_QPA_PLATFORM=offscreen timeout 20 "$program" "$work/second" 2>"$work/second.log" ||
    QT_QPA_PLATFORM=offscreen timeout 20 "$program" "$work/second" 2>"$work/second.log" ||
    fail "the second start failed: $(cat "$work/first.log" "$work/second.log")"
wait_for grep -q "^Path=$work/second/" "$home/Teluri.ini"
wait_for grep -q "^Folder2=$work/first/" "$home/Window.ini"
grep -q "^Folder1=$work/second/" "$home/Window.ini" || fail "the second folder is not first"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "SIGTERM ended the program with status $status"
grep -q '^\[Window\]' "$home/Window.ini" || fail "the window's shape was not saved"
expect_clean_end

if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
    echo "Xvfb or xdotool is not installed: the read page and the display's end are not tried"
    exit 0
fi

# Writes the main window's id to $work/window; false while there is none.
main_window() {
    DISPLAY="$1" xdotool search --name "Orvak Teluri Explorer" >"$work/window" 2>/dev/null &&
        [ -s "$work/window" ] && sed -i 1q "$work/window"
}

# Under a display of its own: a page read (its node chosen with Alt+S and
# Down), then SIGTERM or the display going away. Xvfb picks a free display.
read_and_end() {
    local how="$1"
    rm -f "$home/Read.dat"
    exec 5>"$work/display"
    Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local server=$!
    pids+=("$server")
    exec 5>&-
    wait_for test -s "$work/display"
    local display=":$(cat "$work/display")"
    DISPLAY="$display" QT_QPA_PLATFORM=xcb "$program" "$work/first" 2>/dev/null &
    local pid=$!
    pids+=("$pid")
    # The search fails while the splash window goes away: tried again.
    wait_for main_window "$display"
    local window
    window="$(cat "$work/window")"
    # The analysis run ends before the keys are taken.
    wait_for grep -q "^Path=$work/first/" "$home/Teluri.ini"
    sleep 1
    DISPLAY="$display" xdotool windowfocus --sync "$window" key alt+s Down
    # A page counts as read after a second on show, and read marks are
    # written 3 seconds after that: the end comes in between.
    sleep 2
    [ ! -e "$home/Read.dat" ] || fail "Read.dat was written before the end"
    if [ "$how" = signal ]; then
        kill -TERM "$pid"
    else
        kill "$server"
    fi
    wait "$pid" || true
    kill "$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
    grep -q "^\[$work/first/\]" "$home/Read.dat" || fail "$how: the page read was not saved"
    grep -q -E '^[0-9]{4}' "$home/Read.dat" || fail "$how: the page on show is not marked read"
    expect_clean_end
}
read_and_end signal
read_and_end display
