#!/usr/bin/env bash
# Sets up the machine, builds Zephlo (64-bit, plus the 32-bit compile check)
# and runs every test under Wine on a virtual display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export ZEPHLO_BUILD="${ZEPHLO_BUILD:-$root/build}"
export ZEPHLO_HEADLESS=1

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" --x86

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start
(cd "$ZEPHLO_BUILD" && ctest --output-on-failure -j2 "$@")

# The parsers' fuzz targets, a few seconds each.
bash "$root/scripts/fuzz.sh"
