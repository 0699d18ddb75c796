#!/usr/bin/env bash
# Builds one flavour: native (platform-free code and its tests, with sanitizers),
# win64 (x86_64, the test build run under Wine) or win32 (i686 release into dist/).
# TESSERIN_BUILD_ROOT moves the build folders (default: build/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
flavour=${1:?usage: build.sh native|win64|win32}
jobs=$(nproc)

case "$flavour" in
  native) args=(-DCMAKE_BUILD_TYPE=Debug) ;;
  win64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release) ;;
  win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release -DTESSERIN_TESTS=OFF) ;;
  *) echo "unknown flavour: $flavour" >&2; exit 2 ;;
esac

build="${TESSERIN_BUILD_ROOT:-$root/build}/$flavour"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" "${args[@]}" >/dev/null
fi
cmake --build "$build" -j "$jobs"

if [ "$flavour" = win32 ]; then
  rm -rf "$root/dist"
  cp -r "$build/dist" "$root/dist"
  echo "Release folder: $root/dist"
fi
