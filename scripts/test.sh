#!/usr/bin/env bash
# Sets up everything and runs the test suite for one preset (default: "default").
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
bash scripts/build.sh "$preset"
ctest --preset "$preset" -j "$(nproc)"
