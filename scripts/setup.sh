#!/usr/bin/env bash
# Installs everything the build, the player and the tests need on a fresh
# Debian 12 machine. Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  # build
  mingw-w64 cmake ninja-build python3 googletest locales
  # the help file (chmcmd, chmls)
  fp-utils
  # the release installer
  nsis
  # running the player under Wine, headless
  wine wine64 fonts-wine xvfb x11-utils xdotool fonts-noto-cjk fonts-ipafont-gothic
  # DirectShow through GStreamer, sound through a null PulseAudio sink
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly
  gstreamer1.0-libav pulseaudio pulseaudio-utils
  # test media and pictures
  sox ffmpeg imagemagick
  # the fuzz targets, built natively (libFuzzer and the sanitizers' runtimes)
  clang libclang-rt-14-dev llvm
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Wine takes the ANSI code page of the users (932) from the Japanese locale,
# which must exist on the machine.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "setup: generating the ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
