# Sourced by the run and test scripts: a private Wine session for one build
# folder. wine_session_start starts a virtual display (unless a display is
# given and usable), a PulseAudio server with a null sink named "cap", the
# Wine prefix inside the build folder and a persistent wineserver;
# wine_session_stop ends all of them.
#
# Variables: ZEPHLO_BUILD (the build folder, required), ZEPHLO_HEADLESS=1 to
# always use a virtual display.

wine_session_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

wine_session_start() {
  export WINEPREFIX="$ZEPHLO_BUILD/wineprefix"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LANG=ja_JP.UTF-8
  export PULSE_RUNTIME_PATH="$ZEPHLO_BUILD/pulse"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  wine_session_pids=()

  if [[ -z "${DISPLAY:-}" || "${ZEPHLO_HEADLESS:-0}" == 1 ]] || ! xdpyinfo >/dev/null 2>&1; then
    local fd_file="$ZEPHLO_BUILD/xvfb.display"
    rm -f "$fd_file"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" >/dev/null 2>&1 &
    wine_session_pids+=($!)
    for _ in $(seq 100); do
      [[ -s "$fd_file" ]] && break
      sleep 0.1
    done
    export DISPLAY=":$(cat "$fd_file")"
    export ZEPHLO_VIRTUAL_DISPLAY=1
  fi

  mkdir -p "$PULSE_RUNTIME_PATH"
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L "module-native-protocol-unix socket=$PULSE_RUNTIME_PATH/native auth-anonymous=1" \
    -L "module-null-sink sink_name=cap rate=44100" \
    -L "module-always-sink" >"$ZEPHLO_BUILD/pulse.log" 2>&1 &
  wine_session_pids+=($!)
  for _ in $(seq 50); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  pactl set-default-sink cap >/dev/null 2>&1 || true

  bash "$wine_session_root/scripts/prepare-prefix.sh"
  wineserver -p
  wine wineboot >/dev/null 2>&1 || true
}

wine_session_stop() {
  wineserver -k >/dev/null 2>&1 || true
  local pid
  for pid in "${wine_session_pids[@]:-}"; do
    [[ -n "$pid" ]] && kill "$pid" >/dev/null 2>&1 || true
  done
  wait >/dev/null 2>&1 || true
}
