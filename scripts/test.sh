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
  exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash scripts/wine-ctest.sh -j "$(nproc)"
fi
ctest --preset "$preset" -j "$(nproc)"
