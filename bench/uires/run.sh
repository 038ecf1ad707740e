#!/usr/bin/env bash
# Control lookup by name: entering 5,000 named controls into a manager's
# name map, and FindControl against a search of the tree.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=${KELVORA_BUILD:-$KELVORA_DEFAULT_BUILD}
"$BUILD/wine-run.sh" "$BUILD/bench/uires/bench_uires.exe"
