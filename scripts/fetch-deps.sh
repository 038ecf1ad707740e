#!/usr/bin/env bash
# Fetches and prepares the third-party sources the build compiles, into a cache
# folder outside the source tree (default build/deps). Nothing fetched here is
# ever committed. A second run finds the stamps and does nothing.
set -euo pipefail
DEPS=${1:-$(cd "$(dirname "$0")/.." && pwd)/build/deps}
mkdir -p "$DEPS/dl"
cd "$DEPS/dl"

fetch_src() {   # fetch_src <package[=version]>
  apt-get source --download-only -q "$1" >/dev/null 2>&1 || {
    apt-get update -q >/dev/null 2>&1 || true
    apt-get source --download-only -q "$1"
  }
}

unpack() {      # unpack <glob of .dsc> <dest>
  local dsc; dsc=$(ls $1 | head -1)
  rm -rf "$2"
  dpkg-source --no-check -x "$dsc" "$2" >/dev/null
}

if [ ! -f "$DEPS/sqlite/.stamp" ]; then
  echo "deps: SQLite amalgamation"
  fetch_src sqlite3
  unpack 'sqlite3_*.dsc' "$DEPS/dl/sqlite-src"
  ( cd "$DEPS/dl/sqlite-src" && ./configure >/dev/null && make sqlite3.c >/dev/null )
  mkdir -p "$DEPS/sqlite"
  cp "$DEPS/dl/sqlite-src/sqlite3.c" "$DEPS/dl/sqlite-src/sqlite3.h" "$DEPS/sqlite/"
  touch "$DEPS/sqlite/.stamp"
fi

if [ ! -f "$DEPS/jsoncpp/.stamp" ]; then
  echo "deps: jsoncpp"
  fetch_src libjsoncpp
  unpack 'libjsoncpp_*.dsc' "$DEPS/dl/jsoncpp-src"
  rm -rf "$DEPS/jsoncpp"; mkdir -p "$DEPS/jsoncpp"
  cp -r "$DEPS/dl/jsoncpp-src/include" "$DEPS/jsoncpp/include"
  cp -r "$DEPS/dl/jsoncpp-src/src/lib_json" "$DEPS/jsoncpp/src"
  touch "$DEPS/jsoncpp/.stamp"
fi

if [ ! -f "$DEPS/minizip/.stamp" ]; then
  echo "deps: minizip"
  # The security update's files are not served: pin the release version.
  fetch_src zlib=1:1.2.13.dfsg-1
  unpack 'zlib_1.2.13.dfsg-1.dsc' "$DEPS/dl/zlib-src"
  rm -rf "$DEPS/minizip"; mkdir -p "$DEPS/minizip"
  for f in unzip.c unzip.h ioapi.c ioapi.h zip.c zip.h crypt.h iowin32.h iowin32.c; do
    cp "$DEPS/dl/zlib-src/contrib/minizip/$f" "$DEPS/minizip/" 2>/dev/null || true
  done
  touch "$DEPS/minizip/.stamp"
fi

if [ ! -f "$DEPS/stb/.stamp" ]; then
  # Only a link to the stb folder: /usr/include itself must never be on the
  # cross compiler's include path.
  rm -rf "$DEPS/stb"; mkdir -p "$DEPS/stb"
  ln -s /usr/include/stb "$DEPS/stb/stb"
  touch "$DEPS/stb/.stamp"
fi

if [ ! -f "$DEPS/jquery/.stamp" ] && command -v npm >/dev/null; then
  echo "deps: jQuery 1.8.3"
  rm -rf "$DEPS/jquery"; mkdir -p "$DEPS/jquery"
  ( cd "$DEPS/jquery" && npm pack -q jquery@1.8.3 >/dev/null 2>&1 && tar xzf jquery-1.8.3.tgz \
      && npm install -q --no-save --prefix "$DEPS/jquery/tools" terser@5 >/dev/null 2>&1 \
      && "$DEPS/jquery/tools/node_modules/.bin/terser" package/tmp/jquery.js -c -m \
           --comments '/^!/' -o jquery-1.8.3.min.js ) \
    && touch "$DEPS/jquery/.stamp" || echo "deps: jQuery could not be prepared (npm unreachable?)"
fi
echo "deps: ready in $DEPS"
