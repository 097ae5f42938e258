#!/usr/bin/env bash
# Configures and builds one preset (default: "default") after installing dependencies;
# a second argument builds only that target.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash scripts/install-deps.sh
if [ "${CI:-}" = "true" ]; then export ZV_WERROR=ON; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" ${2:+--target "$2"}
