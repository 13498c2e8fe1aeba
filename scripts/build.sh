#!/usr/bin/env bash
# Configures and builds the 64-bit program, tests and packages in
# $ZEPHLO_BUILD (default build/); with --x86 also the 32-bit build and its
# packages; with --player only the program, its plug-ins and its help.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZEPHLO_BUILD:-$root/build}"

# The theme plug-ins of a build must export exactly their three functions by
# their plain names (a 32-bit build decorates callee-cleans names unless told
# otherwise) and import nothing but KERNEL32.
check_theme_plugins() {
  local objdump="$1" folder="$2" name plugin exports imports
  for name in Classic Small Glossy; do
    plugin="$folder/Themes/$name.zpres"
    exports="$("$objdump" -p "$plugin" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
      awk 'NR > 1 && NF { print $NF }' | sort | tr '\n' ' ')"
    if [[ "$exports" != "ZPThemeGetInfo ZPThemeGetToolbarInfo ZPThemeGetVersion " ]]; then
      echo "build: $plugin exports: $exports" >&2
      exit 1
    fi
    imports="$("$objdump" -p "$plugin" | awk '/DLL Name:/ { print $3 }' |
      grep -vix kernel32.dll || true)"
    if [[ -n "$imports" ]]; then
      echo "build: $plugin imports: $imports" >&2
      exit 1
    fi
  done
}

# What is installed, the program and its three plug-ins, stays under 2 MB.
check_installed_size() {
  local folder="$1" bytes
  bytes="$(stat -c %s "$folder/Zephlo.exe" "$folder"/Themes/{Classic,Small,Glossy}.zpres |
    awk '{ sum += $1 } END { print sum }')"
  if (( bytes >= 2000000 )); then
    echo "build: Zephlo.exe and the plug-ins take $bytes bytes (under 2 MB wanted; link -s?)" >&2
    exit 1
  fi
}

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
if [[ "${1:-}" == --player ]]; then
  # What the player needs to run: the program, its plug-ins and its help.
  cmake --build "$build" --target Zephlo theme_classic theme_small theme_glossy zephlo_help
  check_theme_plugins x86_64-w64-mingw32-objdump "$build"
  check_installed_size "$build"
  exit 0
fi
cmake --build "$build"
check_theme_plugins x86_64-w64-mingw32-objdump "$build"
check_installed_size "$build"

if [[ "${1:-}" == --x86 ]]; then
  cmake -S "$root" -B "$build-x86" -G Ninja -DZEPHLO_BUILD_TESTS=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build-x86"
  check_theme_plugins i686-w64-mingw32-objdump "$build-x86"
fi
