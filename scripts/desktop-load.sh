#!/usr/bin/env bash
# Measures the Linux desktop program with N characters (default 15) walking for S
# seconds (default 60) on its own Xvfb with a compositor: the program's CPU time from
# /proc/PID/stat as a share of one core, and its peak resident memory (VmHWM).
# Usage: scripts/desktop-load.sh [CHARACTERS] [SECONDS]   (after a default build)
# The random walks are seeded with ZV_SEED (default 1).
set -euo pipefail
cd "$(dirname "$0")/.."
count="${1:-15}"
seconds="${2:-60}"
tool="build/default/zelvotta-tool"
[ -x "$tool" ] || { echo "desktop-load: build first (bash scripts/build.sh)" >&2; exit 1; }

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

display_number=$((500 + RANDOM % 400))
while [ -e "/tmp/.X11-unix/X$display_number" ]; do display_number=$((display_number + 1)); done
export DISPLAY=":$display_number"
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
xcompmgr >/dev/null 2>&1 &
pids+=($!)

export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$work/app/Characters"
# Copies of the shipped characters under their own folder names, alternating.
shipped=(Walker Hopper)
for i in $(seq "$count"); do
  cp -r "characters/${shipped[$(((i - 1) % 2))]}" "$work/app/Characters/$(printf 'Chara%02d' "$i")"
done

# A fixed seed makes runs pick the same walks, so two builds can be compared (ZV_SEED).
"$tool" run --platform qt --seed "${ZV_SEED:-1}" --app-dir "$work/app" >"$work/run.log" 2>&1 &
program=$!
pids+=("$program")
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$program/stat"; }
# The first seconds load the characters; the measurement starts once they walk.
sleep 5
start_ticks=$(cpu_ticks)
start_time=$(date +%s.%N)
if [ -n "${ZV_STRACE:-}" ]; then strace -f ${ZV_STRACE_ARGS:--c} -o "$ZV_STRACE" -p "$program" & sleep "$seconds"; kill %% 2>/dev/null; sleep 0.5; elif [ -n "${ZV_PERF:-}" ]; then perf record -F ${ZV_PERF_HZ:-499} ${ZV_PERF_ARGS:--g} -p "$program" -o "$ZV_PERF" -- sleep "$seconds" >/dev/null 2>&1; else sleep "$seconds"; fi
end_ticks=$(cpu_ticks)
end_time=$(date +%s.%N)
[ -n "${ZV_SMAPS:-}" ] && cp "/proc/$program/smaps" "$ZV_SMAPS"
peak_kib=$(awk '/^VmHWM:/ {print $2}' "/proc/$program/status")
rss_kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$program/status")
windows=$(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null | wc -l)
# Per thread, for finding what costs: name and CPU seconds.
threads=$(for task in /proc/$program/task/*; do
  printf '%s=%s ' "$(tr ' ' '_' <"$task/comm")" "$(awk -v hz="$ticks" '{printf "%.2f", ($14 + $15) / hz}' "$task/stat")"
done)
kill "$program"
echo "threads (cpu s since start): $threads"
awk -v t0="$start_ticks" -v t1="$end_ticks" -v s0="$start_time" -v s1="$end_time" -v hz="$ticks" \
    -v peak="$peak_kib" -v rss="$rss_kib" -v n="$count" -v w="$windows" 'BEGIN {
  cpu = (t1 - t0) / hz; wall = s1 - s0;
  printf "characters %d (visible windows %d), %.1f s measured\n", n, w, wall;
  printf "cpu %.2f s = %.2f %% of one core\n", cpu, 100 * cpu / wall;
  printf "rss %.1f MiB now, peak %.1f MiB\n", rss / 1024, peak / 1024;
}'
