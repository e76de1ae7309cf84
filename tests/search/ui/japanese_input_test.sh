#!/usr/bin/env bash
# Starts a display of its own (Xvfb picks a free one), a private session
# bus and ibus with the Anthy engine, then runs the Japanese input test on
# that display. Installs nothing: without these programs the test is
# skipped (exit status 77) and says what is missing.
#   japanese_input_test.sh TEST_EXECUTABLE
set -euo pipefail
test_program="$1"

missing=()
for command in Xvfb xdotool dbus-run-session ibus-daemon ibus; do
    command -v "$command" >/dev/null || missing+=("$command")
done
[ -e /usr/share/ibus/component/anthy.xml ] || missing+=("ibus-anthy")
# The Anthy engine is Python; it runs the system's python3.
/usr/bin/python3 -c 'import gi' 2>/dev/null || missing+=("python3-gi")
if [ ${#missing[@]} -gt 0 ]; then
    echo "SKIPPED: no input method to type through; missing: ${missing[*]}" \
        "(apt-get install xvfb xdotool dbus ibus ibus-anthy python3-gi)"
    exit 77
fi

work="$(mktemp -d)"
server=""
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$work"' EXIT
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
exec 5>&-
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }

# In the session bus: ibus with Anthy as its engine, then the test. HOME
# and the configuration are the work folder's: nothing of the user's counts.
cat >"$work/session.sh" <<'SESSION'
set -euo pipefail
ibus-daemon --xim=false --panel=disable --replace --single >/dev/null 2>&1 &
daemon=$!
trap 'kill $daemon 2>/dev/null' EXIT
for _ in $(seq 100); do
    ibus engine anthy >/dev/null 2>&1 && break
    sleep 0.2
done
[ "$(ibus engine 2>/dev/null)" = anthy ] || { echo "ibus did not take the Anthy engine" >&2; exit 1; }
QT_QPA_PLATFORM=xcb QT_IM_MODULE=ibus "$1"
SESSION
status=0
env HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
    DISPLAY=":$(cat "$work/display")" PATH="/usr/bin:/bin:$PATH" \
    dbus-run-session -- bash "$work/session.sh" "$test_program" >"$work/log" 2>&1 || status=$?
# Without the session bus's own chatter.
grep -v -e 'dbus-daemon\[' -e 'SpiRegistry' "$work/log" || true
exit "$status"
