#!/usr/bin/env bash
# 1,000 staged uninstall entries scanned and matched against a 10,000-row
# version database, under Wine. Prints the scan time, the matching time and
# the ratio of matching to loading the rows from SQLite alone (aim: <= 3).
set -euo pipefail
: "${KELVORA_BUILD:?}"
ENTRIES=${SCAN_BENCH_ENTRIES:-1000}
ROWS=${SCAN_BENCH_ROWS:-10000}
"$KELVORA_BUILD/wine-run.sh" "$KELVORA_BUILD/bench/scan/scan_bench.exe" "$ENTRIES" "$ROWS" | tr -d '\r'
