#!/usr/bin/env bash
# Builds the player and starts it (on the bundled demo disc when there is no CD drive).
set -euo pipefail
cd "$(dirname "$0")"
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target velmora velmora_artwork_files
exec build/bin/velmora "$@"
