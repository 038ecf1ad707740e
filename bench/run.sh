#!/usr/bin/env bash
# Builds the project and runs every benchmark (bench/*/run.sh) under Wine,
# with the local services running. Each prints "name: value" lines. Where
# this machine cannot run 32-bit programs, the 64-bit flavour is measured
# (see scripts/arch.sh).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=$(realpath -m "${KELVORA_BUILD_DIR:-$KELVORA_DEFAULT_BUILD}")
"$ROOT/scripts/build.sh"
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
STATE="$BUILD/bench-services"
"$ROOT/tools/services/ctl.sh" start "$STATE" "$BUILD" >/dev/null
trap '"$ROOT/tools/services/ctl.sh" stop "$STATE"' EXIT
export KELVORA_BUILD="$BUILD" KELVORA_SERVICES_STATE="$STATE" KELVORA_SERVICE_HOST="127.0.0.1:$(cat "$STATE/port")"
# Figures of one flavour are not those of the other: say which was measured.
echo "flavour: $KELVORA_ARCH ($BUILD)"
for b in "$ROOT"/bench/*/run.sh; do
  [ -n "${1:-}" ] && [[ "$b" != *"$1"* ]] && continue
  echo "== $(basename "$(dirname "$b")")"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$b"
done
