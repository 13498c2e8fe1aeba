#!/usr/bin/env bash
# Soak of damaged media, not part of the test run: makes damaged copies of the
# test media (tests/support/make_damaged_media.py) and hands them one after
# another to one running player, REPETITIONS times (default 3), answering its
# message boxes; a hang, a crash or a bad exit fails the run. Backtraces of a
# hung player go to $ZEPHLO_BUILD/soak-backtraces.txt.
# Usage: soak-damaged-media.sh [REPETITIONS] [SEED]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export ZEPHLO_BUILD="${ZEPHLO_BUILD:-$root/build}"
export ZEPHLO_HEADLESS=1
repetitions="${1:-3}"
seed="${2:-13}"

if [[ ! -f "$ZEPHLO_BUILD/CMakeCache.txt" ]]; then
  cmake -S "$root" -B "$ZEPHLO_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$ZEPHLO_BUILD" --parallel 2 --target Zephlo damaged_media_soak zephlo_test_media >/dev/null
damaged="$ZEPHLO_BUILD/damaged-media"
rm -rf "$damaged"
python3 "$root/tests/support/make_damaged_media.py" "$ZEPHLO_BUILD/test-media" "$damaged" "$seed"

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
export ZEPHLO_BUILD_DIR="$ZEPHLO_BUILD" ZEPHLO_SOURCE_DIR="$root" ZEPHLO_PYTHON="$(command -v python3)"
log="$ZEPHLO_BUILD/soak-backtraces.txt"
rm -f "$log"
wine "$ZEPHLO_BUILD/tests/e2e/damaged_media_soak.exe" "$(winepath -w "$damaged")" \
  "$repetitions" "$(winepath -w "$log")"
