#!/usr/bin/env bash
# A long headless run of 15 characters (copies of the two we ship) on the virtual clock,
# as fast as it runs, with random scripted input from scripts/make_soak_input.py. It
# checks that the run ends cleanly, that no character error was shown (the trace has no
# message box) and, on an uninstrumented build, that the resident memory stays within
# 2 MiB after the first minute of frames. With the asan preset LeakSanitizer checks the
# end instead (the sanitizer's own memory keeps the resident size from saying anything).
# Usage: scripts/soak.sh [PRESET (default|asan)] [FRAMES (108000: an hour)] [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"
frames="${2:-108000}"
seed="${3:-1}"
bash scripts/build.sh "$preset" zelvotta-tool >/dev/null
tool="build/$preset/zelvotta-tool"

work="$(mktemp -d)"
# ZV_SOAK_RSS=FILE keeps the resident-memory samples ("FRAME KiB" lines).
trap '[ -n "${ZV_SOAK_RSS:-}" ] && cp "$work/rss" "$ZV_SOAK_RSS"; rm -rf "$work"' EXIT
mkdir -p "$work/app/Characters"
shipped=(Walker Hopper)
for i in $(seq 15); do
  cp -r "characters/${shipped[$(((i - 1) % 2))]}" "$work/app/Characters/$(printf 'Chara%02d' "$i")"
done
python3 scripts/make_soak_input.py "$seed" "$frames" > "$work/input"
export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export LSAN_OPTIONS="suppressions=$PWD/cmake/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

start=$(date +%s%N)
status=0
"$tool" run --app-dir "$work/app" --screen 1920x1080 --seed "$seed" --frames "$frames" \
  --input "$work/input" --trace "$work/trace.jsonl" --memory-log "$work/rss" 2>"$work/stderr" || status=$?
milliseconds=$((($(date +%s%N) - start) / 1000000))

failures=0
echo "soak: $frames frames of 15 characters in ${milliseconds} ms ($preset build, seed $seed), exit code $status"
[ "$status" -eq 0 ] || { echo "FAIL the run ended with exit code $status"; tail -n 40 "$work/stderr"; failures=$((failures + 1)); }
boxes=$(grep -c '"event":"messagebox"' "$work/trace.jsonl" || true)
echo "soak: $(wc -l < "$work/trace.jsonl") trace records, $boxes message boxes, $(grep -c 'ignored' "$work/stderr" || true) input lines that found nothing to act on"
[ "$boxes" -eq 0 ] || { echo "FAIL a message box was shown:"; grep '"event":"messagebox"' "$work/trace.jsonl" | head -n 5; failures=$((failures + 1)); }
if [ "$preset" = "default" ] && [ -s "$work/rss" ]; then
  # The program's own samples ("FRAME KiB", every 300 frames); the first minute is
  # frames 0 to 1800.
  read -r first low high count <<<"$(awk '
    $1 <= 1800 { f = $2 } $1 >= 1800 { n++; if (!lo || $2 < lo) lo = $2; if ($2 > hi) hi = $2 }
    END { printf "%d %d %d %d\n", f, lo, hi, n }' "$work/rss")"
  echo "soak: resident memory ${first} KiB at the first minute, then ${low}..${high} KiB over $count samples"
  if [ "$count" -gt 0 ] && [ $((high - low)) -gt 2048 ]; then
    echo "FAIL the resident memory grew by $((high - low)) KiB after the first minute"
    failures=$((failures + 1))
  fi
fi
[ "$failures" -eq 0 ] && echo "soak: PASS" || echo "soak: $failures failed"
exit $((failures > 0))
