#!/usr/bin/env bash
# Sets up the machine, builds Zephlo and runs it under Wine. On the user's X
# display when there is one; otherwise on a virtual display, where a
# screenshot is saved after a few seconds and the player is closed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export ZEPHLO_BUILD="${ZEPHLO_BUILD:-$root/build}"

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start

if [[ "${ZEPHLO_VIRTUAL_DISPLAY:-0}" == 1 ]]; then
  shot="$ZEPHLO_BUILD/screenshot.png"
  wine "$ZEPHLO_BUILD/Zephlo.exe" "$@" &
  player=$!
  sleep "${ZEPHLO_SCREENSHOT_DELAY:-6}"
  import -window root "$shot"
  wineserver -k >/dev/null 2>&1 || true
  wait "$player" 2>/dev/null || true
  echo "No display: Zephlo ran on a virtual display; screenshot saved to $shot"
else
  wine "$ZEPHLO_BUILD/Zephlo.exe" "$@"
fi
