#!/usr/bin/env bash
# Builds, starts the local services with their sample catalogue and runs the
# client under Wine (the 64-bit flavour where this machine cannot run 32-bit
# programs, see scripts/arch.sh). Without $DISPLAY it runs on a virtual
# display, saves a screenshot to build/screenshot.png and ends the client.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=${KELVORA_BUILD_DIR:-$KELVORA_DEFAULT_BUILD}
"$ROOT/scripts/build.sh"

export LANG=${LANG:-en_US.UTF-8}
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
STATE="$BUILD/run-services"
"$ROOT/tools/services/ctl.sh" start "$STATE"
trap '"$ROOT/tools/services/ctl.sh" stop "$STATE"' EXIT
HOST="127.0.0.1:$(cat "$STATE/port")"
export VANTREL_CATALOGUE_HOST=$HOST VANTREL_LOGIN_HOST=$HOST VANTREL_USER_HOST=$HOST VANTREL_REPORT_HOST=$HOST

# The demo runs from its own copy of the program folder.
DEMO="$BUILD/demo"
rm -rf "$DEMO" && cp -r "$BUILD/dist" "$DEMO"
WINE_RUN="$BUILD/wine-run.sh"

if [ -n "${DISPLAY:-}" ]; then
  echo "Kelvora runs on $DISPLAY. Closing its window hides it to the tray icon; the tray menu's"
  echo "\"退出\" ends it (or run: $WINE_RUN $DEMO/vantrel.exe shutdown)."
  "$WINE_RUN" "$DEMO/vantrel.exe"
else
  # The screenshot goes to the product's build folder whichever flavour ran.
  SHOT="${KELVORA_BUILD_DIR:-$ROOT/build}/screenshot.png"
  mkdir -p "$(dirname "$SHOT")"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$1" "$2/vantrel.exe" & client=$!
    sleep 8
    import -window root "$3"
    "$1" "$2/vantrel.exe" shutdown
    wait $client || true
    # Wine ends before its display does.
    WINEPREFIX="$4" wineserver -w
  ' _ "$WINE_RUN" "$DEMO" "$SHOT" "$BUILD/wineprefix"
  echo "No display: Kelvora ran on a virtual display; its screenshot is $SHOT"
fi
