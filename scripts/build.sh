#!/usr/bin/env bash
# Installs what is missing, fetches the dependencies and builds into build/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${KELVORA_BUILD_DIR:-$ROOT/build}
"$ROOT/scripts/bootstrap.sh"
"$ROOT/scripts/fetch-deps.sh" "${KELVORA_DEPS_DIR:-$ROOT/build/deps}" >/dev/null
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
    -DVANTREL_DEPS_DIR="${KELVORA_DEPS_DIR:-$ROOT/build/deps}" >/dev/null
fi
cmake --build "$BUILD" -j"$(nproc)" -- --no-print-directory -s
"$ROOT/scripts/wine-prefix.sh" "$BUILD/wineprefix"
