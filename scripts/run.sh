#!/usr/bin/env bash
# Sets up everything, builds the program and runs it; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh default
exec build/default/zelvotta "$@"
