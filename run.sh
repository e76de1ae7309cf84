#!/usr/bin/env bash
# Installs what is missing, builds, and starts Teluri Explorer. On the first
# start the program folder gets settings that open the bundled sample
# archive (an existing Teluri.ini is never touched).
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh
tools/build.sh >/dev/null

program_folder=build/app
if [ ! -e "$program_folder/Teluri.ini" ]; then
    sample="$PWD/sample/"
    build/cli/teluri ini "$program_folder/Teluri.ini" set Option Path "$sample"
    build/cli/teluri ini "$program_folder/Teluri.ini" set Startup DraftOpen 1
    build/cli/teluri analyze "$sample" -o "$program_folder/Tree.dat"
    echo "Teluri.ini を作成しました: サンプルのアーカイブ ($sample) を開きます。"
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "画面 (DISPLAY) がありません。xvfb-run ./run.sh のように実行してください。" >&2
    exit 1
fi
exec "$program_folder/teluri-explorer"
