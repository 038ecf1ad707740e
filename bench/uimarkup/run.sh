#!/usr/bin/env bash
# Skin markup parsing speed: a 1 MiB skin document, parsed from UTF-8.
set -euo pipefail
BUILD=${KELVORA_BUILD:-$(cd "$(dirname "$0")/../.." && pwd)/build}
"$BUILD/wine-run.sh" "$BUILD/bench/uimarkup/bench_uimarkup.exe"
