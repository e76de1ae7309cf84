#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and window
# tests, then a short fuzzing pass over each reader of outside files.
# SANITIZE=1 builds and runs the whole suite with AddressSanitizer and
# UndefinedBehaviorSanitizer instead (in build-asan/).
set -euo pipefail
cd "$(dirname "$0")"
tools/ensure-packages.sh

if [ "${SANITIZE:-0}" = 1 ]; then
    BUILD_DIR=build-asan BUILD_TYPE=Debug \
        EXTRA_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
        tools/build.sh
    # Qt and the font libraries keep some memory until exit on purpose.
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
    exit 0
fi

tools/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
tests/fuzz/run.sh "${FUZZ_SECONDS:-3}"
