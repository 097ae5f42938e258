#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each one for a short time
# on a scratch copy of its seed corpus (fuzz/corpus/<target>/ when present).
# Usage: scripts/fuzz-smoke.sh [seconds per target, default 30]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
bash scripts/build.sh fuzz zv_fuzzers
scratch="$(mktemp -d)"
# fontconfig's lifelong configuration is no leak of ours (see the file).
export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
trap 'rm -rf "$scratch"' EXIT
status=0
for target in build/fuzz/fuzz/zv_fuzz_*; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  mkdir -p "$scratch/$name"
  if [ -d "fuzz/corpus/$name" ]; then cp -r "fuzz/corpus/$name/." "$scratch/$name/"; fi
  echo "fuzz: $name for ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 "$scratch/$name" \
      >"$scratch/$name.log" 2>&1; then
    tail -n 60 "$scratch/$name.log"
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$scratch/$name.log" || true
  fi
done
exit $status
