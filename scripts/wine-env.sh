# Sourced by the run and test scripts: a private Wine prefix reporting Windows 10 with
# its virtual desktop on, a display (Xvfb when there is none) and a warm wineserver.
# Call wine_env_start; wine_env_stop undoes what it started.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
build_root=${TESSERIN_BUILD_ROOT:-$root/build}
export WINEPREFIX=${WINEPREFIX:-$build_root/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko prompts, no host menu entries made from our shortcuts.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export LC_ALL=${LC_ALL:-zh_CN.UTF-8}
started_xvfb=""

wine_env_start() {
  if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    local n=91
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/.tesserin-ready" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1 || true
    "$WINE64" winecfg -v win10 >/dev/null 2>&1
    # Without the virtual desktop a message box returns seconds after it is closed.
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    "$WINESERVER" -k || true
    "$WINESERVER" -w || true
    touch "$WINEPREFIX/.tesserin-ready"
  fi
  # A persistent server, warmed up once, makes each test start in a fraction of a second.
  "$WINESERVER" -p
  "$WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
}

wine_env_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  if [ -n "$started_xvfb" ]; then kill "$started_xvfb" 2>/dev/null || true; fi
}
