#!/usr/bin/env bash
# Builds everything and runs every test under Wine, each test in a slot of its
# own (a virtual display and a Wine prefix: scripts/test-slot.sh), side by side.
# Extra arguments go to ctest (for example: ./test.sh -R foundation).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=$(realpath -m "${KELVORA_BUILD_DIR:-$KELVORA_DEFAULT_BUILD}")
"$ROOT/scripts/build.sh"

# Code pages follow the Unix locale: en_US.UTF-8 gives ANSI 1252 and OEM 437,
# which differ, so a text read back with the wrong one shows.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
# CTest stops the slots after the last test; this covers an interrupted run.
trap '"$ROOT/scripts/test-slot.sh" stop "$BUILD"' EXIT

# Many tests mostly wait (for windows, timers, the services), so more tests
# than cores run at once.
jobs=$(( $(nproc) * 2 )); [ "$jobs" -gt 12 ] && jobs=12
ctest --test-dir "$BUILD" --output-on-failure --timeout 900 -j"$jobs" "$@"
