#!/usr/bin/env bash
# Installs what is missing, fetches the dependencies and builds. The 32-bit
# product is always built into build/; when the 64-bit flavour runs here
# (see scripts/arch.sh) it is built too, into build-x86_64/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/arch.sh"
"$ROOT/scripts/bootstrap.sh"
DEPS=${KELVORA_DEPS_DIR:-$ROOT/build/deps}
"$ROOT/scripts/fetch-deps.sh" "$DEPS" >/dev/null

# Paths inside the clone are hashed relative to it, so clones share the cache.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$ROOT} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

build_flavour() {   # arch build-dir
  local arch=$1 dir=$2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    # ccache makes a second clone's build (CI's, a work tree's) nearly free.
    local launch=()
    command -v ccache >/dev/null && launch=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
      -DVANTREL_DEPS_DIR="$DEPS" "${launch[@]}" >/dev/null
  fi
  cmake --build "$dir" -j"$(nproc)" -- --no-print-directory -s
}

if [ "$KELVORA_ARCH" = i686 ]; then
  BUILD=${KELVORA_BUILD_DIR:-$ROOT/build}
  build_flavour i686 "$BUILD"
else
  # The product stays 32-bit: build it even where it cannot run
  # (KELVORA_BUILD_32=no skips it while iterating on the 64-bit flavour).
  [ "${KELVORA_BUILD_32:-yes}" = no ] || build_flavour i686 "$ROOT/build"
  BUILD=${KELVORA_BUILD_DIR:-$ROOT/build-x86_64}
  build_flavour x86_64 "$BUILD"
fi
"$BUILD/wine-run.sh" --make-prefix
