#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, in a Wine prefix of its own in
# the build folder (created on first use, which takes Wine about half a minute), with
# Wine's own diagnostics off. CTest uses it as the cross-compiling emulator.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${ZV_WINEPREFIX:-$here/build/mingw/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  # One process creates the prefix; others running at the same time wait for it.
  flock "$WINEPREFIX/.create.lock" bash -c '[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1'
fi
exec wine "$@"
