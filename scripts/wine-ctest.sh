#!/usr/bin/env bash
# Runs the Windows suite under Wine (on the X display it is given); arguments go to ctest.
# Wine's server normally exits a few seconds after its last program, and the next
# program then boots the prefix's services and desktop again while the tests started
# beside it are already running; two test programs starting in that window can wait
# on each other forever. So the prefix is created and booted once here, its server is
# kept running for the whole suite, and it is ended with the suite.
set -euo pipefail
cd "$(dirname "$0")/.."
export WINEPREFIX="${ZV_WINEPREFIX:-$PWD/build/mingw/wineprefix}"
export ZV_WINEPREFIX="$WINEPREFIX"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
end_wine() { wineserver -k 2>/dev/null || true; }
trap end_wine EXIT
# Creates the prefix if it is missing and lets that server end; then starts one that
# stays, and boots the services and the desktop under it before the first test.
bash scripts/wine-run.sh cmd /c exit >/dev/null 2>&1
wineserver -w
wineserver -p
bash scripts/wine-run.sh cmd /c exit >/dev/null 2>&1
ctest --preset mingw "$@"
