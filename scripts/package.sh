#!/usr/bin/env bash
# Makes the release packages, Zephlo-<version>-<arch>.zip and
# Zephlo-<version>-<arch>-setup.exe, in <build folder>/packages for each build
# folder given (default: $ZEPHLO_BUILD or build/, and build-x86/ beside it
# when it is configured). A normal build makes them too; this builds only
# what they need.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZEPHLO_BUILD:-$root/build}"

folders=("$@")
if ((${#folders[@]} == 0)); then
  folders=("$build")
  [[ -f "$build-x86/CMakeCache.txt" ]] && folders+=("$build-x86")
fi
for folder in "${folders[@]}"; do
  cmake --build "$folder" --target zephlo_packages
  ls -l "$folder/packages/"Zephlo-*
done
