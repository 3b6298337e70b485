#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
build_dir=${PINWHIRL_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${PINWHIRL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build_dir"
ctest --test-dir "$build_dir" --output-on-failure -j2 --timeout 300
