#!/usr/bin/env bash
# Builds the Debian package from a Release build of its own: optimised, with debug
# information that CPack strips from the binaries into velmora-dbgsym.
#
#   tools/make-package.sh [BUILD_DIR] [CMAKE_OPTIONS...]   (default build-package)
#
# The package and the debug symbols end up in BUILD_DIR/package. Set VELMORA_HOMEPAGE and
# VELMORA_CONTACT (cmake -D...) for a package to publish.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
shift || true
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -g -DNDEBUG" \
  "-DCMAKE_CXX_FLAGS=-ffile-prefix-map=$PWD=." -DVELMORA_BUILD_TESTS=OFF -DVELMORA_BUILD_BENCH=OFF "$@" >/dev/null
nice cmake --build "$build"
(cd "$build" && cpack -G DEB -B "$PWD/package" >/dev/null)
ls "$build"/package/velmora*.deb "$build"/package/velmora*.ddeb
