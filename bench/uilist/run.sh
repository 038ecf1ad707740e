#!/usr/bin/env bash
# A list of 500 rows (an icon, two labels and a button each) built, laid out
# and painted, against the platform's list view with the same rows painted
# once; and one wheel step of each.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=${KELVORA_BUILD:-$KELVORA_DEFAULT_BUILD}
"$BUILD/wine-run.sh" "$BUILD/bench/uilist/bench_uilist.exe"
