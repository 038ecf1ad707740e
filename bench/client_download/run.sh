#!/usr/bin/env bash
# A 64 MiB download clicked in the real client (the detail page's "下载"),
# from the first request it causes to the complete file on disk, against curl fetching the
# same file from the same local service in the same run. Prints both rates
# and their ratio (ours / curl).
set -euo pipefail
: "${KELVORA_BUILD:?}" "${KELVORA_SERVICES_STATE:?}"
HERE=$(cd "$(dirname "$0")" && pwd)
export VANTREL_TEST_DIST="$KELVORA_BUILD/dist" VANTREL_WINE_RUN="$KELVORA_BUILD/wine-run.sh" \
       VANTREL_TEST_SERVICES="$KELVORA_SERVICES_STATE" VANTREL_TEST_BIN="$KELVORA_BUILD"
PYTHONPATH="$HERE/../../tests/process" python3 "$HERE/client_download_bench.py"
