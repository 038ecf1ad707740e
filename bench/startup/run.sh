#!/usr/bin/env bash
# Start-up of the client (process start to its main window painted) against
# a bare Win32 window program measured the same way, under Wine. Prints both
# medians, their ratio (aim <= 1.5) and both working sets (client: aim
# <= 30 MB). The client runs from a copy of the program folder.
set -euo pipefail
: "${KELVORA_BUILD:?}"
DIR=$(mktemp -d /tmp/kelvora-startup-XXXXXX)
trap 'rm -rf "$DIR"' EXIT
cp -r "$KELVORA_BUILD/dist" "$DIR/dist"
cp "$KELVORA_BUILD/bench/startup/bare_window.exe" "$DIR/"
HOST=${KELVORA_SERVICE_HOST:-127.0.0.1:9}
export VANTREL_CATALOGUE_HOST=$HOST VANTREL_LOGIN_HOST=$HOST VANTREL_USER_HOST=$HOST VANTREL_REPORT_HOST=$HOST
W() { winepath=$("$KELVORA_BUILD/wine-run.sh" winepath.exe -w "$1" 2>/dev/null | tr -d '\r'); echo "$winepath"; }
"$KELVORA_BUILD/wine-run.sh" "$KELVORA_BUILD/bench/startup/startup_bench.exe" \
  "$(W "$DIR/dist/vantrel.exe")" "$(W "$DIR/bare_window.exe")" "${STARTUP_BENCH_STARTS:-7}" | tr -d '\r'
