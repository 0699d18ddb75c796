#!/usr/bin/env bash
# Installs everything building and testing need on Debian 12 (run as root).
# Does nothing that is already done, so a second run takes a few seconds.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  # toolchains and build
  g++ cmake make python3 dpkg-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-i686
  binutils-mingw-w64-x86-64 libz-mingw-w64-dev
  # native test build
  libgtest-dev googletest libpng-dev libjpeg62-turbo-dev zlib1g-dev
  # Wine, a display and the tools to look at it
  wine64 libgnutls30 xvfb xauth xdotool imagemagick x11-utils
  libxrender1 libxrandr2 libxcursor1 libxi6 libxcomposite1 libxinerama1 libxfixes3 libxxf86vm1
  # texts: locales, a CJK font, Wine's own fonts, simplified-to-traditional data
  locales fonts-wqy-microhei fonts-wine opencc libopencc-data
  # tests: XML check and an HTTPS peer
  openssl libxml2-utils file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine maps file names through the C library's locale: without real locales every
# non-ASCII file name fails.
for loc in zh_CN zh_TW ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qix "$loc.utf8"; then
    echo "Generating locale $loc.UTF-8"
    localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
  fi
done

"$here/build-mingw-libs.sh"
