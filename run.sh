#!/usr/bin/env bash
# Installs what is missing, builds Pinwhirl and starts it in the folder that holds data/.
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target pinwhirl
exec ./build/pinwhirl "$@"
