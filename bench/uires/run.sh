#!/usr/bin/env bash
# Control lookup by name: entering 5,000 named controls into a manager's
# name map, and FindControl against a search of the tree.
set -euo pipefail
BUILD=${KELVORA_BUILD:-$(cd "$(dirname "$0")/../.." && pwd)/build}
"$BUILD/wine-run.sh" "$BUILD/bench/uires/bench_uires.exe"
