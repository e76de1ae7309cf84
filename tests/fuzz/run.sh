#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (and AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for SECONDS
# (default 5) over a working copy of its committed corpus. A finding stops
# the run with the target's exit status; the crashing input is written to
# build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-5}"
targets=(fuzz_page_reader fuzz_tree_dat fuzz_settings fuzz_cp932 fuzz_search_files fuzz_bookmarks fuzz_reading)
[ -n "${FUZZ_TARGETS:-}" ] && read -r -a targets <<<"$FUZZ_TARGETS"

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELURI_FUZZ=ON \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}" >/dev/null

mkdir -p build-fuzz/findings
for target in "${targets[@]}"; do
    work="build-fuzz/corpus/$target"
    mkdir -p "$work"
    cp -n tests/fuzz/corpus/"$target"/* "$work"/ 2>/dev/null || true
    echo "== $target ($seconds s)"
    build-fuzz/tests/fuzz/"$target" "$work" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -artifact_prefix=build-fuzz/findings/"$target"- \
        -print_final_stats=1 2>&1 | grep -E "^stat::number_of_executed_units|ERROR|SUMMARY|Done" || true
    if ls build-fuzz/findings/"$target"-* >/dev/null 2>&1; then
        echo "$target: finding in build-fuzz/findings/" >&2
        exit 1
    fi
done
