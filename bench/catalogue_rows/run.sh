#!/usr/bin/env bash
# 500 catalogue rows built, taken, laid out and painted, against 500 plain
# container rows of the same cells, in one process.
set -euo pipefail
: "${KELVORA_BUILD:?}" "${KELVORA_SERVICE_HOST:?}"
# A copy of the skin: the icons are stored in its temp folder.
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
cp -r "$KELVORA_BUILD/dist/skin" "$copy/skin"
skin=$("$KELVORA_BUILD/wine-run.sh" winepath -w "$copy/skin" 2>/dev/null | tr -d '\r')
VANTREL_CATALOGUE_HOST="$KELVORA_SERVICE_HOST" \
  "$KELVORA_BUILD/wine-run.sh" "$KELVORA_BUILD/bench/catalogue_rows/catalogue_rows_bench.exe" "$skin"
