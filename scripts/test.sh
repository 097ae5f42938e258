#!/usr/bin/env bash
# Sets up everything and runs the test suite for one preset (default: "default").
# "mingw" cross-builds the suite for Windows and runs it under Wine, on a private X
# server (Wine's windows need one).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
if [ "$preset" = "mingw" ]; then
  bash scripts/install-deps.sh mingw
  bash scripts/build-mingw-deps.sh
fi
bash scripts/build.sh "$preset"
if [ "$preset" = "mingw" ]; then
  export ZV_WINEPREFIX="$PWD/build/mingw/wineprefix"
  status=0
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" ctest --preset mingw -j "$(nproc)" || status=$?
  # Wine keeps a server per prefix running for a while; end it with the tests.
  WINEPREFIX="$ZV_WINEPREFIX" wineserver -k 2>/dev/null || true
  exit $status
fi
ctest --preset "$preset" -j "$(nproc)"
