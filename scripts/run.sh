#!/usr/bin/env bash
# Sets up the machine, builds what the player needs (the program, its theme
# plug-ins and its help) and runs it under Wine: on the user's X display when
# there is one. Without one, it shows on a virtual display what a new user
# sees: a fresh copy of the player in build/demo asks where to keep its
# settings (answered "No": beside the copy), opens the files given or a short
# generated demo clip and plays it; the screen is saved to build/screenshot.png
# and the player closed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export ZEPHLO_BUILD="${ZEPHLO_BUILD:-$root/build}"

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" --player

source "$root/scripts/wine-session.sh"
trap wine_session_stop EXIT
wine_session_start

if [[ "${ZEPHLO_VIRTUAL_DISPLAY:-0}" != 1 ]]; then
  wine "$ZEPHLO_BUILD/Zephlo.exe" "$@"
  exit 0
fi

# Waits up to $2 seconds for a window whose title matches $1; prints its id.
wait_for_window() {
  local id
  for _ in $(seq $(($2 * 10))); do
    id="$(xdotool search --name "$1" 2>/dev/null | head -n 1 || true)"
    if [[ -n "$id" ]]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "run: no window titled $1 after $2 s" >&2
  return 1
}

demo="$ZEPHLO_BUILD/demo"
rm -rf "$demo"
mkdir -p "$demo/Themes"
cp "$ZEPHLO_BUILD/Zephlo.exe" "$ZEPHLO_BUILD/Zephlo.chm" "$demo/"
cp "$ZEPHLO_BUILD/Themes/"*.zpres "$demo/Themes/"
files=("$@")
if ((${#files[@]} == 0)); then
  # Colour bars, a moving frame counter and a 440 Hz tone, in formats both
  # playback devices read (Microsoft Video 1 and PCM).
  ffmpeg -loglevel error -y -f lavfi -i "testsrc=size=320x240:rate=15:duration=10" \
    -f lavfi -i "sine=frequency=440:duration=10" -c:v msvideo1 -c:a pcm_s16le "$demo/demo.avi"
  files=("$demo/demo.avi")
fi
arguments=()
for file in "${files[@]}"; do
  arguments+=("$(winepath -w "$(realpath "$file")")")
done

# Settings a user kept per user in this prefix would answer the question.
rm -rf "$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming/Zephlo"
(cd "$demo" && wine Zephlo.exe "${arguments[@]}") &
player=$!
# No settings yet: the first-run question comes first; its default answer,
# "No", keeps the settings beside the program.
question="$(wait_for_window '^Zephlo$' 30)"
xdotool windowfocus --sync "$question" key Return
main="$(wait_for_window '^Zephlo - ' 30)"
# Let the first frames and the position reach the screen.
sleep "${ZEPHLO_SCREENSHOT_DELAY:-2}"
shot="$ZEPHLO_BUILD/screenshot.png"
import -window root "$shot"
xdotool windowfocus --sync "$main" key alt+F4
for _ in $(seq 100); do
  kill -0 "$player" 2>/dev/null || break
  sleep 0.1
done
wineserver -k >/dev/null 2>&1 || true
wait "$player" 2>/dev/null || true
echo "No display: Zephlo ran on a virtual display; screenshot saved to $shot"
