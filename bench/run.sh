#!/usr/bin/env bash
# The performance benchmark: installs what is missing, builds in Release
# into build-release/, makes the synthetic archives once (cached under
# build-release/bench/) and prints one table of medians, each row beside a
# reference measured in the same run, and writes it into docs/performance.md
# under "The figures", between its two marker comments.
#
#   bench/run.sh [--runs N]     (default 5 counted runs after one warm-up)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
while [ $# -gt 0 ]; do
    case "$1" in
        --runs) runs="$2"; shift 2 ;;
        *) echo "usage: bench/run.sh [--runs N]" >&2; exit 2 ;;
    esac
done

# What building needs, then what the benchmark itself runs.
tools/ensure-packages.sh
needed=()
for tool in python3:python3 /usr/bin/time:time grep:grep cat:coreutils; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || needed+=("${tool#*:}")
done
if [ ${#needed[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${needed[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${needed[@]}" >/dev/null
fi

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target teluri teluri_window_bench teluri_read_pages >/dev/null

# The archives depend only on the generator and its options: a new
# generator makes them anew.
data="$build/bench"
mkdir -p "$data"
stamp="$(sha256sum bench/make-archive | cut -c1-16)"
make_once() {  # folder, make-archive options...
    local folder="$1"
    shift
    if [ ! -f "$folder.done" ] || [ "$(head -n1 "$folder.done")" != "$stamp $*" ]; then
        echo "Making $folder ..." >&2
        rm -f "$folder.done"
        local output
        output="$(bench/make-archive "$@" "$folder")"
        printf '%s\n%s\n' "$stamp $*" "$output" >"$folder.done"
    fi
}
make_once "$data/archive-9000" --pages 9000 --seed 1
make_once "$data/chain-9000" --chain 9000 --seed 1
rare="$(awk '$1 == "rare-word" { print $2 }' "$data/archive-9000.done")"
common="$(awk '$1 == "common-word" { print $2 }' "$data/archive-9000.done")"

# The saved trees, made by the command being measured (every run: they
# follow the program).
"$build/cli/teluri" analyze -o "$data/archive-9000.Tree.dat" "$data/archive-9000"
"$build/cli/teluri" analyze -o "$data/chain-9000.Tree.dat" "$data/chain-9000"

# The window's run under a real window manager, when Xvfb and openbox are
# there: a display of its own, stopped when the benchmark ends.
display_args=()
if command -v Xvfb >/dev/null 2>&1 && command -v openbox >/dev/null 2>&1; then
    number=60
    while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
        number=$((number + 1))
    done
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    wm_pid=""
    trap '[ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null' EXIT
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    DISPLAY=":$number" openbox >/dev/null 2>&1 &
    wm_pid=$!
    sleep 1
    display_args=(--display ":$number")
fi

table="$(mktemp)"
status=0
{
    echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), \
$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) RAM; \
load average $(cut -d' ' -f1-3 /proc/loadavg) before the runs."
    echo
    python3 bench/measure.py --build "$build" --runs "$runs" \
        --archive "$data/archive-9000" --tree "$data/archive-9000.Tree.dat" \
        --chain "$data/chain-9000" --chain-tree "$data/chain-9000.Tree.dat" \
        --rare "$rare" --common "$common" "${display_args[@]}"
} | tee "$table" || status=$?

# The table (failed checks included) goes into the documentation in place
# of the one before it; a run that gave no table changes nothing.
python3 - "$table" docs/performance.md <<'PYTHON'
import sys
table = open(sys.argv[1], encoding="utf-8").read().strip()
if "| Measurement |" not in table:
    sys.exit(0)
path = sys.argv[2]
text = open(path, encoding="utf-8").read()
start = "<!-- bench/run.sh writes its table below this line. -->"
end = "<!-- bench/run.sh writes its table above this line. -->"
before, rest = text.split(start, 1)
_, after = rest.split(end, 1)
open(path, "w", encoding="utf-8").write(before + start + "\n" + table + "\n" + end + after)
PYTHON
rm -f "$table"
exit "$status"
