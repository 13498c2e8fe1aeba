#!/usr/bin/env bash
# Soak of opening and closing, not part of the test run: audio and video files
# opened, played a moment and closed CYCLES times (default 1000) through the
# real back-end in one process, whose handles, GDI objects, windows and memory
# must stay flat. Prints the figures every 100 cycles.
# Usage: soak-open-close.sh [CYCLES]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export ZEPHLO_BUILD="${ZEPHLO_BUILD:-$root/build}"
export ZEPHLO_HEADLESS=1

if [[ ! -f "$ZEPHLO_BUILD/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$ZEPHLO_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$ZEPHLO_BUILD" --parallel 2 --target open_close_soak zephlo_test_media >/dev/null

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
export ZEPHLO_BUILD_DIR="$ZEPHLO_BUILD" ZEPHLO_SOURCE_DIR="$root"
wine "$ZEPHLO_BUILD/tests/e2e/open_close_soak.exe" "${1:-1000}"
