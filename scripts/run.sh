#!/usr/bin/env bash
# Builds Tesserin and starts it under Wine: scripts/run.sh [PROGRAM]
# PROGRAM (optional) is a Linux or Windows path of an .exe or .lnk to load.
# Without a display, a virtual one is started, a screenshot of the window is saved to
# build/screenshot.png and the program is closed again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" win64
"$root/scripts/build.sh" win32

had_display=""
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then had_display=1; fi
# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT

args=()
if [ $# -gt 0 ]; then
  if [ -e "$1" ]; then args=("$("$WINE64" winepath -w "$(realpath "$1")" 2>/dev/null)"); else args=("$1"); fi
fi

bin="$build_root/win64/bin"
class="750dbc01-9f75-474d-9d69-968482104c0c"
if [ -n "$had_display" ]; then
  "$WINE64" "$bin/Tesserin.exe" "${args[@]}"
else
  "$WINE64" "$bin/Tesserin.exe" "${args[@]}" &
  tesserin=$!
  if "$WINE64" "$bin/wintool.exe" wait "$class" 30000 | iconv -f GBK -t UTF-8; then
    sleep 1
    import -window root "$build_root/screenshot.png"
    echo "Screenshot of the window: $build_root/screenshot.png"
    "$WINE64" "$bin/wintool.exe" close "$class" || true
  else
    echo "Tesserin's window did not appear" >&2
    exit 1
  fi
  wait "$tesserin" || true
fi
