#!/usr/bin/env bash
# Builds, starts the local services with their sample catalogue and runs the
# client under Wine (the 64-bit flavour where this machine cannot run 32-bit
# programs, see scripts/arch.sh). Without $DISPLAY it runs on a virtual
# display, waits until the main window shows its first page, saves a
# screenshot to build/screenshot.png and ends the client.
#
# The services serve this build's fake installer as every sample title's
# file: a download from the demo installs (an uninstall entry named as the
# title, in the registry view this flavour reads) and is reported.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
. "$ROOT/scripts/arch.sh"
BUILD=$(realpath -m "${KELVORA_BUILD_DIR:-$KELVORA_DEFAULT_BUILD}")
"$ROOT/scripts/build.sh"

export LANG=${LANG:-en_US.UTF-8}
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY no_proxy NO_PROXY
STATE="$BUILD/run-services"
"$ROOT/tools/services/ctl.sh" start "$STATE" "$BUILD"
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
  # How long the client may take to show its first page (a fresh Wine
  # prefix is made on the first run, which takes a while).
  WAIT=${KELVORA_RUN_WAIT:-240}
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    # 0 once the main window (890x635, named Kelvora) shows rows on its first
    # page: the first row'"'"'s name cell holds dark text on its white ground
    # (blank, it is all white; not yet painted, all black).
    first_page_shown() {
      local wid geo x y shot
      for wid in $(xdotool search --onlyvisible --name "^Kelvora\$" 2>/dev/null); do
        geo=$(xdotool getwindowgeometry "$wid" 2>/dev/null) || continue
        case "$geo" in *"Geometry: 890x635"*) ;; *) continue ;; esac
        x=$(sed -n "s/.*Position: \(-\?[0-9]*\),.*/\1/p" <<<"$geo")
        y=$(sed -n "s/.*Position: -\?[0-9]*,\(-\?[0-9]*\).*/\1/p" <<<"$geo")
        shot=$(convert x:root -crop "200x40+$((x + 231))+$((y + 149))" +repage -format "%[fx:maxima>0.9&&minima<0.5]" info: 2>/dev/null)
        [ "$shot" = 1 ] && return 0
      done
      return 1
    }
    "$1" "$2/vantrel.exe" & client=$!
    status=0
    deadline=$((SECONDS + $5))
    until first_page_shown; do
      if [ $SECONDS -ge $deadline ] || ! kill -0 $client 2>/dev/null; then
        echo "Kelvora did not show its first page within $5 s (or ended): the screenshot shows the display as it was." >&2
        status=1
        break
      fi
      sleep 0.5
    done
    # The rows are there; their icons follow: the picture is taken once two
    # looks at the window a second apart are the same (at most 10 s more).
    if [ $status = 0 ]; then
      previous=
      for _ in $(seq 10); do
        now=$(convert x:root -format "%#" info: 2>/dev/null)
        [ -n "$now" ] && [ "$now" = "$previous" ] && break
        previous=$now
        sleep 1
      done
    fi
    import -window root "$3"
    "$1" "$2/vantrel.exe" shutdown
    wait $client || true
    # Wine ends before its display does.
    WINEPREFIX="$4" wineserver -w
    exit $status
  ' _ "$WINE_RUN" "$DEMO" "$SHOT" "$BUILD/wineprefix" "$WAIT" || {
    echo "Kelvora ran on a virtual display but never showed its first page; the screenshot is $SHOT" >&2
    exit 1
  }
  echo "No display: Kelvora ran on a virtual display; its screenshot is $SHOT"
fi
