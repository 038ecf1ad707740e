#!/usr/bin/env bash
# Creates the project's own Wine prefix once: no Mono/Gecko prompts, CJK font
# replacements for the skins' Chinese faces, no crash dialog (a crashing
# test must end, not hang on a dialog), and the keys a fresh Windows has that
# a fresh prefix lacks. Test slots start from copies of it.
set -euo pipefail
PREFIX=$1
# The loader of the flavour that uses this prefix ("wine" or the 64-bit loader).
WINE=${2:-wine}
[ "$WINE" = wine ] || export WINELOADER="$WINE"
mkdir -p "$(dirname "$PREFIX")"
exec 9>"$PREFIX.lock"
flock 9
STAMP="$PREFIX/.kelvora-ready-5"   # bump when the prefix settings change
[ -f "$STAMP" ] && exit 0

export WINEPREFIX="$PREFIX" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY
# A prefix made by an earlier version of this script was shared by every test
# and keeps what they left behind: the slots copy this one, so start afresh.
if compgen -G "$PREFIX/.kelvora-ready-*" >/dev/null; then
  echo "wine: the prefix $PREFIX is from an earlier arrangement; making it again" >&2
  wineserver -k 2>/dev/null || true
  wineserver -w || true
  rm -rf "$PREFIX"
fi
if [ ! -f "$PREFIX/system.reg" ]; then
  echo "wine: creating prefix $PREFIX" >&2
  "$WINE" wineboot.exe -i >/dev/null 2>&1 || true
  wineserver -w || true
fi

reg=$(mktemp --suffix=.reg)
cat > "$reg.utf8" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"微软雅黑"="WenQuanYi Micro Hei"
"Microsoft YaHei"="WenQuanYi Micro Hei"
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="Y"
REG
# Windows stay managed (Wine's default, written out so a prefix that once had
# it off is reset): unmanaged windows are faster to hide but take focus
# differently from Windows, and the edit box tests see that.
# regedit needs UTF-16 for non-ASCII names.
python3 -c 'import sys; t=open(sys.argv[1],encoding="utf-8").read().replace("\n","\r\n"); open(sys.argv[2],"wb").write(b"\xff\xfe"+t.encode("utf-16-le"))' "$reg.utf8" "$reg"
"$WINE" regedit.exe /S "$("$WINE" winepath.exe -w "$reg" | tr -d '\r')" >/dev/null 2>&1
rm -f "$reg" "$reg.utf8"
# No post-mortem debugger in either registry view: a crashing program must
# simply end (winedbg would attach and pick the exit code itself). The
# uninstall list exists in both views, as on Windows, even while empty.
for view in 64 32; do
  "$WINE" reg.exe delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f /reg:$view >/dev/null 2>&1 || true
  "$WINE" reg.exe add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /f /reg:$view >/dev/null 2>&1 || true
done
# The server writes the registry out when it ends: wait for that, so that a
# copy of this prefix (each test slot starts from one) has the settings.
wineserver -w || true
touch "$STAMP"
