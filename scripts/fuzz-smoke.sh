#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, ASan, UBSan) and runs each one for a given time,
# starting from its seed corpus (fuzz/corpus/<target>/ when present).
# Usage: scripts/fuzz-smoke.sh [SECONDS per target, default 30] [JOBS, default 1] [KEEP]
#   JOBS targets run side by side (at the lowest priority when more than one).
#   KEEP is a folder that keeps each target's grown corpus (KEEP/<target>) between runs;
#   without it every run starts from the seeds in a scratch folder.
# Prints one line per target: executions, executions per second, coverage, corpus size.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
jobs="${2:-1}"
keep="${3:-}"
bash scripts/build.sh fuzz zv_fuzzers
scratch="$(mktemp -d)"
# fontconfig's lifelong configuration is no leak of ours (see the file).
export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
trap 'rm -rf "$scratch"' EXIT
nice_cmd=()
[ "$jobs" -gt 1 ] && nice_cmd=(nice -n 19)

run_target() {  # target -> writes $scratch/<name>.log and .rc
  local target="$1" name corpus
  name="$(basename "$target")"
  corpus="${keep:+$keep/$name}"
  corpus="${corpus:-$scratch/$name}"
  mkdir -p "$corpus" "$scratch/$name.artifacts"
  if [ -d "fuzz/corpus/$name" ]; then cp -rn "fuzz/corpus/$name/." "$corpus/"; fi
  local rc=0
  "${nice_cmd[@]}" "$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$scratch/$name.artifacts/" "$corpus" >"$scratch/$name.log" 2>&1 || rc=$?
  echo "$rc" >"$scratch/$name.rc"
}

targets=()
for target in build/fuzz/fuzz/zv_fuzz_*; do [ -x "$target" ] && targets+=("$target"); done
running=0
for target in "${targets[@]}"; do
  echo "fuzz: $(basename "$target") for ${seconds}s"
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then wait -n; running=$((running - 1)); fi
done
wait

status=0
for target in "${targets[@]}"; do
  name="$(basename "$target")"
  log="$scratch/$name.log"
  if [ "$(cat "$scratch/$name.rc")" != 0 ]; then
    echo "fuzz: $name FAILED"
    tail -n 60 "$log"
    for artifact in "$scratch/$name.artifacts"/*; do
      [ -e "$artifact" ] && { echo "input:"; base64 "$artifact" | head -n 20; }
    done
    status=1
    continue
  fi
  units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  last=$(grep -aE '^#[0-9]+' "$log" | tail -n 1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p' <<<"$last")
  echo "fuzz: $name ok: ${units:-?} runs, ${rate:-?}/s, cov ${cov:-?}, ft ${ft:-?}, corpus ${corp:-?}"
done
exit $status
