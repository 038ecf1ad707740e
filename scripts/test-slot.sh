#!/usr/bin/env bash
# Test slots: each test runs in a slot of its own, a virtual display and a
# Wine prefix (hence a wineserver) that no other running test shares. Windows
# of one prefix share one server, so one foreground window and one
# single-instance lock, even across displays: tests that move the focus or
# start the client can only run side by side in separate prefixes.
#
#   test-slot.sh run <build> <command> [args...]
#       takes the first free slot (starting it when it is not up, making its
#       prefix afresh when an earlier command used it), then runs the command
#       with DISPLAY, WINEPREFIX and KELVORA_WINEPREFIX set to the slot's.
#       CTest runs every Windows test program this way.
#   test-slot.sh stop <build>
#       ends every slot's wineserver and display and removes its prefix.
#
# A slot's prefix is a copy of the build's own prefix (wine-run.sh makes that
# one): the large system folders are hard-linked, the rest (registry, user
# folders) copied, so a slot starts in a second instead of a wineboot.
# Every command gets a clean copy: what a test installed, registered or wrote
# in the prefix, or left running there, is gone before the next test in the
# slot starts, so no test depends on what ran before it.
#
# The display and the server are started before the test, detached and with
# no inherited descriptors: a test program that started them would leave its
# output pipe open in them, and CTest would wait for them to end.
set -euo pipefail
MODE=${1:-}; BUILD=${2:-}
[ -n "$MODE" ] && [ -n "$BUILD" ] || { echo "usage: $0 run|stop <build> [command...]" >&2; exit 2; }
shift 2
SLOTS="$BUILD/test-slots"
TEMPLATE="$BUILD/wineprefix"
WINE_RUN="$BUILD/wine-run.sh"
mkdir -p "$SLOTS"

alive() {   # pid name: the process runs and is that program
  [ -n "$1" ] && [ "$(cat "/proc/$1/comm" 2>/dev/null)" = "$2" ]
}

# Ends whatever runs in slot directory $1: its Wine processes and server,
# then its display.
slot_down() {
  local dir=$1 xpid=""
  [ -f "$dir/xvfb.pid" ] && xpid=$(cat "$dir/xvfb.pid")
  if [ -d "$dir/prefix" ]; then
    WINEPREFIX="$dir/prefix" timeout 30 wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
    WINEPREFIX="$dir/prefix" timeout 30 wineserver -w </dev/null >/dev/null 2>&1 9>&- || true
  fi
  if alive "$xpid" Xvfb; then
    kill "$xpid" 2>/dev/null || true
    for _ in $(seq 50); do alive "$xpid" Xvfb || break; sleep 0.1; done
    alive "$xpid" Xvfb && kill -9 "$xpid" 2>/dev/null || true
  fi
  rm -rf "$dir/up" "$dir/used" "$dir/xvfb.pid" "$dir/display" "$dir/prefix"
}

# Copies the build's prefix into $1: system folders linked, the rest copied.
copy_prefix() {
  python3 - "$TEMPLATE" "$1" <<'PY'
import os, shutil, sys
src, dst = sys.argv[1], sys.argv[2]
shared = [os.path.join(src, "drive_c", "windows", d) for d in ("system32", "syswow64", "winsxs")]
def place(a, b):
    if any(a.startswith(s + os.sep) for s in shared):
        os.link(a, b)
    else:
        shutil.copy2(a, b)
shutil.copytree(src, dst, symlinks=True, copy_function=place)
PY
}

# Starts the slot's Wine server, then Wine's system processes (the first
# program starts the services, touching the desktop window starts the desktop
# process), all with /dev/null for output, and in the locale test.sh pins
# whichever test happens to start the slot.
wine_up() {
  local dir=$1
  (
    export DISPLAY=":$(tr -dc 0-9 <"$dir/display")" WINEPREFIX="$dir/prefix" KELVORA_WINEPREFIX="$dir/prefix"
    export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
    exec </dev/null >/dev/null 2>&1 9>&-
    setsid wineserver -p || true
    "$WINE_RUN" rundll32.exe user32.dll,GetDesktopWindow || true
  )
}

# A clean copy of the prefix for the next command, the display kept. The
# server holds the registry in memory and writes it out when it ends, so it
# is ended (with whatever still runs in the prefix) before the copy goes.
slot_reset() {
  local dir=$1
  WINEPREFIX="$dir/prefix" timeout 30 wineserver -k </dev/null >/dev/null 2>&1 9>&- || true
  WINEPREFIX="$dir/prefix" timeout 30 wineserver -w </dev/null >/dev/null 2>&1 9>&- || true
  rm -rf "$dir/prefix"
  copy_prefix "$dir/prefix" || return 1
  wine_up "$dir"
  rm -f "$dir/used"
}

slot_up() {
  local dir=$1 display xpid
  slot_down "$dir"
  # -displayfd: the server picks a free display number and writes it. It
  # starts while the prefix is copied.
  ( setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
      3>"$dir/display" </dev/null >/dev/null 2>&1 9>&- &
    echo $! >"$dir/xvfb.pid" )
  env -u KELVORA_WINEPREFIX "$WINE_RUN" --make-prefix 9>&-
  copy_prefix "$dir/prefix"
  for _ in $(seq 600); do [ -s "$dir/display" ] && break; sleep 0.05; done
  display=$(tr -dc 0-9 <"$dir/display")
  xpid=$(cat "$dir/xvfb.pid")
  if [ -z "$display" ] || ! alive "$xpid" Xvfb; then
    echo "test slot $dir: the virtual display did not start" >&2
    return 1
  fi
  wine_up "$dir"
  rm -f "$dir/used"
  touch "$dir/up"
}

# Up, and copied from the build's prefix as it is now.
slot_is_up() {
  local dir=$1 stamp
  [ -f "$dir/up" ] && [ -f "$dir/xvfb.pid" ] && alive "$(cat "$dir/xvfb.pid")" Xvfb || return 1
  for stamp in "$TEMPLATE"/.kelvora-ready-*; do
    [ -f "$dir/prefix/${stamp##*/}" ] && [ "$dir/up" -nt "$stamp" ] || return 1
  done
}

case "$MODE" in
  run)
    [ $# -gt 0 ] || { echo "$0 run: no command" >&2; exit 2; }
    # The first slot nobody holds. The lock stays with the test (and with
    # anything it leaves running) until it ends.
    n=0
    while :; do
      exec 9>"$SLOTS/$n.lock"
      flock -n 9 && break
      n=$((n + 1))
    done
    dir="$SLOTS/$n"
    mkdir -p "$dir"
    if ! slot_is_up "$dir"; then
      slot_up "$dir" || exit 1
    elif [ -f "$dir/used" ]; then
      slot_reset "$dir" || slot_up "$dir" || exit 1
    fi
    touch "$dir/used"
    export DISPLAY=":$(tr -dc 0-9 <"$dir/display")"
    export WINEPREFIX="$dir/prefix" KELVORA_WINEPREFIX="$dir/prefix" VANTREL_TEST_SLOT="$n"
    exec "$@"
    ;;
  stop)
    for dir in "$SLOTS"/*/; do
      [ -d "$dir" ] && slot_down "${dir%/}" &
    done
    wait
    ;;
  *)
    echo "$0: unknown mode '$MODE'" >&2; exit 2 ;;
esac
