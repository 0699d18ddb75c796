#!/usr/bin/env bash
# Checks the release folder: 32-bit GUI programs that import only Windows system DLLs.
set -euo pipefail
dist=${1:?usage: check-release.sh DIST}
system_dlls='^(kernel32|user32|gdi32|msimg32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|version|windowscodecs|msvcrt|ws2_32|winhttp)\.dll$'
ok=0
for exe in Tesserin.exe linktile.exe syspin.dll; do
  f="$dist/$exe"
  if [ ! -f "$f" ]; then echo "missing: $exe"; ok=1; continue; fi
  info=$(file -b "$f")
  case "$info" in
    "PE32 executable (GUI) Intel 80386"*) ;;
    *) echo "$exe: not a 32-bit GUI program: $info"; ok=1 ;;
  esac
  while read -r dll; do
    if ! grep -qiE "$system_dlls" <<<"$dll"; then echo "$exe imports $dll"; ok=1; fi
  done < <(i686-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p')
done
[ -f "$dist/README.md" ] || { echo "missing: README.md"; ok=1; }
[ $ok -eq 0 ] && echo "release folder ok: $(ls "$dist" | tr '\n' ' ')"
exit $ok
