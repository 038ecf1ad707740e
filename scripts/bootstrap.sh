#!/usr/bin/env bash
# Installs every system package the build and the tests need, once.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

PACKAGES=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine32:i386 wine64 xvfb xauth nsis fonts-wqy-microhei
  libz-mingw-w64-dev libstb-dev googletest tcl imagemagick x11-apps xdotool
  cmake python3 curl dpkg-dev xz-utils locales ccache
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

need_src=0
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ 2>/dev/null \
   && ! grep -qs '^deb-src' /etc/apt/sources.list 2>/dev/null; then
  need_src=1
fi

ensure_locale() {
  # Tests pin en_US.UTF-8 (ANSI 1252 and OEM 437 differ there).
  if ! locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$'; then
    localedef -i en_US -f UTF-8 en_US.UTF-8 2>/dev/null || true
  fi
}

if [ ${#missing[@]} -eq 0 ] && [ $need_src -eq 0 ]; then
  ensure_locale
  exit 0
fi

if [ "$(id -u)" != 0 ]; then
  echo "bootstrap: missing packages (${missing[*]}); run as root to install them" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -q i386; then
  dpkg --add-architecture i386
fi
if [ $need_src -eq 1 ] && [ -f /etc/apt/sources.list.d/debian.sources ]; then
  # Source packages give us the SQLite, jsoncpp and zlib/minizip sources.
  sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
fi
apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  apt-get install -y -q "${missing[@]}"
fi
ensure_locale
