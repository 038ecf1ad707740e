#!/usr/bin/env bash
# Skin markup parsing speed: a 1 MiB skin document, parsed from UTF-8.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=${KELVORA_BUILD:-$KELVORA_DEFAULT_BUILD}
"$BUILD/wine-run.sh" "$BUILD/bench/uimarkup/bench_uimarkup.exe"
