#!/usr/bin/env bash
# Configures and builds the project, by default into build/.
#   BUILD_DIR        the build folder (build)
#   BUILD_TYPE       the CMake build type (RelWithDebInfo)
#   EXTRA_CXX_FLAGS  added compiler flags (sanitizers)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" \
    -DCMAKE_CXX_FLAGS="${EXTRA_CXX_FLAGS:-}" >/dev/null
cmake --build "$build_dir" -j"$(nproc)"
