#!/usr/bin/env bash
# Runs inside the virtual display: starts Wine's server and its system
# processes (services, desktop) before CTest, so that no test program becomes
# their parent. They would otherwise inherit that test's output pipe and CTest
# would wait for them until the server ends.
set -euo pipefail
BUILD=$1; shift
wineserver -p 60 2>/dev/null || true
"$BUILD/wine-run.sh" cmd /c exit >/dev/null 2>&1 </dev/null || true
# Touching the desktop window starts the desktop process.
"$BUILD/wine-run.sh" rundll32.exe user32.dll,GetDesktopWindow >/dev/null 2>&1 </dev/null || true
exec ctest --test-dir "$BUILD" "$@"
