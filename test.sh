#!/usr/bin/env bash
# Builds everything and runs every test under Wine on a virtual display.
# Extra arguments go to ctest (for example: ./test.sh -R foundation).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=${KELVORA_BUILD_DIR:-$KELVORA_DEFAULT_BUILD}
"$ROOT/scripts/build.sh"

# Code pages follow the Unix locale: en_US.UTF-8 gives ANSI 1252 and OEM 437,
# which differ, so a text read back with the wrong one shows.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
trap 'wineserver -k 2>/dev/null || true' EXIT

jobs=$(nproc); [ "$jobs" -gt 6 ] && jobs=6
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$ROOT/scripts/ctest-in-display.sh" "$BUILD" --output-on-failure --timeout 900 -j"$jobs" "$@"
