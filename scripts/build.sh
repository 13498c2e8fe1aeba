#!/usr/bin/env bash
# Configures and builds the 64-bit program and tests in $ZEPHLO_BUILD
# (default build/); with --x86 also compile-checks the 32-bit build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZEPHLO_BUILD:-$root/build}"

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"

if [[ "${1:-}" == --x86 ]]; then
  cmake -S "$root" -B "$build-x86" -G Ninja -DZEPHLO_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build-x86"
fi
