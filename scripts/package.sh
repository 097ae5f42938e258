#!/usr/bin/env bash
# Makes the installable package of one build: "default" (the default, build/default) a
# .deb, "mingw" (build/mingw) the Windows zip. Brings the two programs up to date,
# writes the package into build/<preset>/packages/ and prints its path.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
case "$preset" in
  default|mingw) ;;
  *) echo "usage: scripts/package.sh [default|mingw]" >&2; exit 2 ;;
esac
build="build/$preset"
if [ ! -f "$build/CPackConfig.cmake" ]; then
  if [ "$preset" = "mingw" ]; then
    echo "package: $build is not configured; build it first with: bash scripts/test.sh mingw" >&2
    exit 1
  fi
  bash scripts/install-deps.sh
  if [ "${CI:-}" = "true" ]; then export ZV_WERROR=ON; fi
  cmake --preset "$preset" >/dev/null
fi
cmake --build "$build" --target zelvotta zelvotta-tool >/dev/null

out="$build/packages"
mkdir -p "$out"
# Only this run's package is left, so the path printed is the one just made.
rm -rf "$out/_CPack_Packages" "$out"/zelvotta_*.deb "$out"/zelvotta-*.zip
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  echo "package: cpack failed" >&2
  exit 1
fi
rm -rf "$out/_CPack_Packages"
shopt -s nullglob
packages=("$out"/zelvotta_*.deb "$out"/zelvotta-*.zip)
if [ ${#packages[@]} -ne 1 ]; then
  echo "package: cpack made ${#packages[@]} packages, not one (see $out/cpack.log)" >&2
  exit 1
fi
echo "$PWD/${packages[0]}"
