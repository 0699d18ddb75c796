#!/usr/bin/env bash
# Runs a Windows test program under 64-bit Wine with the project's prefix.
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-${TESSERIN_BUILD_ROOT:-$root/build}/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"winemenubuilder.exe=d;mscoree=d;mshtml=d"}
exec /usr/lib/wine/wine64 "$@"
