#!/usr/bin/env bash
# Measures the Linux desktop program with N characters (default 15) walking for S
# seconds (default 60) on a desktop of its own: Xvfb, the xcompmgr compositor and a
# PulseAudio server with a null sink, as every desktop has some sound server. Prints,
# for the measured seconds, the CPU of the program, the X server, the compositor and the
# sound server as shares of one core, their wake-ups per second (voluntary plus
# involuntary context switches of all their threads, from /proc/PID/task/*/status) and
# their peak resident memory (VmHWM).
# Usage: scripts/desktop-load.sh [--compare] [--muted] [--no-sound-server] [CHARACTERS] [SECONDS]
#   --muted            every character's sound is off (its saved mark, set by a short
#                      headless run first): nothing plays, so the sound device idles
#   --compare          then runs xpenguins with as many toons at 30 frames a second on
#                      the same display, prints its figures and the ratio of the whole
#                      costs (program + X server + compositor + sound server)
#   --no-sound-server  leaves PulseAudio out (the program then plays silently)
# The random walks are seeded with ZV_SEED (default 1); ZV_TOOL names another build's
# zelvotta-tool (default build/default/zelvotta-tool), to measure two builds alike.
set -euo pipefail
cd "$(dirname "$0")/.."
compare=0
muted=0
sound_server=1
while [ $# -gt 0 ]; do
  case "$1" in
    --compare) compare=1; shift ;;
    --muted) muted=1; shift ;;
    --no-sound-server) sound_server=0; shift ;;
    *) break ;;
  esac
done
count="${1:-15}"
seconds="${2:-60}"
tool="${ZV_TOOL:-build/default/zelvotta-tool}"
[ -x "$tool" ] || { echo "desktop-load: build first (bash scripts/build.sh)" >&2; exit 1; }
if [ "$sound_server" = 1 ] && ! command -v pulseaudio >/dev/null; then
  echo "desktop-load: pulseaudio is missing (bash scripts/install-deps.sh)" >&2; exit 1
fi
if [ "$compare" = 1 ] && [ ! -x /usr/games/xpenguins ] && ! command -v xpenguins >/dev/null; then
  echo "desktop-load: xpenguins is missing (bash scripts/install-deps.sh)" >&2; exit 1
fi

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
xserver=$!
pids+=("$xserver")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done
xcompmgr >/dev/null 2>&1 &
compositor=$!
pids+=("$compositor")

export XDG_RUNTIME_DIR="$work/run"
mkdir -m 700 "$XDG_RUNTIME_DIR"
sound=""
if [ "$sound_server" = 1 ]; then
  # A private server: its socket in the private runtime folder, its cookie and state in
  # a private home, no D-Bus, never exiting on its own; suspend-on-idle as on a desktop.
  mkdir -p "$work/pulse-home"
  cat >"$work/server.pa" <<'EOF'
load-module module-null-sink sink_name=null
load-module module-native-protocol-unix auth-anonymous=1
load-module module-suspend-on-idle
set-default-sink null
EOF
  env -u DISPLAY HOME="$work/pulse-home" XDG_CONFIG_HOME="$work/pulse-home" DBUS_SESSION_BUS_ADDRESS=disabled: \
    pulseaudio -n -F "$work/server.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=file:"$work/pulse.log" &
  sound=$!
  pids+=("$sound")
  export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
  for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/pulse/native" ] || { echo "desktop-load: PulseAudio did not start" >&2; exit 1; }
fi

ticks=$(getconf CLK_TCK)
# CPU ticks of a process (every thread, living or ended); 0 for none.
cpu_ticks() { if [ -n "$1" ]; then awk '{print $14 + $15}' "/proc/$1/stat"; else echo 0; fi; }
# Context switches of every living thread of a process.
switches() {
  if [ -z "$1" ]; then echo 0; return; fi
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^(non)?voluntary_ctxt_switches:/ {n += $2} END {print n + 0}'
}
# Each living thread of a process: id, name and context switches.
thread_switches() {
  local task
  for task in /proc/"$1"/task/*; do
    awk -v id="${task##*/}" -v name="$(tr ' ' '_' <"$task/comm" 2>/dev/null)" \
        '/^(non)?voluntary_ctxt_switches:/ {n += $2} END {print id, name, n}' "$task/status" 2>/dev/null || true
  done
}
peak_mib() { if [ -n "$1" ]; then awk '/^VmHWM:/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; else echo 0; fi; }
# One snapshot of the four processes: "cpu switches" pairs in the order program, X
# server, compositor, sound server.
snapshot() {
  local pid
  for pid in "$1" "$xserver" "$compositor" "$sound"; do printf '%s %s ' "$(cpu_ticks "$pid")" "$(switches "$pid")"; done
  date +%s.%N
}
# Prints one block of figures from two snapshots; sets `whole` to the summed CPU %.
report() {
  awk -v a="$2" -v b="$3" -v hz="$ticks" -v name="$1" -v peak="$4" -v sound="$sound_server" \
      -v out="$work/whole" 'BEGIN {
    split(a, x, " "); split(b, y, " ");
    wall = y[9] - x[9];
    split(name ",X server,compositor,sound server", label, ",");
    total = 0;
    printf "%s: %.1f s measured\n", name, wall;
    for (i = 0; i < 4; i++) {
      if (i == 3 && sound != 1) { printf "  %-13s -\n", label[i + 1]; continue; }
      cpu = 100 * (y[2 * i + 1] - x[2 * i + 1]) / hz / wall;
      total += cpu;
      printf "  %-13s cpu %5.2f %% of one core, %6.1f wake-ups/s", label[i + 1], cpu, (y[2 * i + 2] - x[2 * i + 2]) / wall;
      if (i == 0) printf ", peak rss %s MiB", peak;
      printf "\n";
    }
    printf "  whole cost    cpu %5.2f %% of one core\n", total;
    printf "%.4f\n", total > out;
  }'
  whole=$(cat "$work/whole")
}

mkdir -p "$work/app/Characters"
# Copies of the shipped characters under their own folder names, alternating.
shipped=(Walker Hopper)
for i in $(seq "$count"); do
  cp -r "characters/${shipped[$(((i - 1) % 2))]}" "$work/app/Characters/$(printf 'Chara%02d' "$i")"
done

if [ "$muted" = 1 ]; then
  # "全サウンド（OFF）" from the notification menu; the end of the run saves each mark.
  echo "1 command 32884" >"$work/mute.input"
  "$tool" run --app-dir "$work/app" --frames 5 --seed 1 --input "$work/mute.input" >/dev/null 2>&1
fi

# A fixed seed makes runs pick the same walks, so two builds can be compared (ZV_SEED).
"$tool" run --platform qt --seed "${ZV_SEED:-1}" --app-dir "$work/app" >"$work/run.log" 2>&1 &
program=$!
pids+=("$program")
# The first seconds load the characters; the measurement starts once they walk.
sleep 5
start=$(snapshot "$program")
thread_switches "$program" >"$work/threads.start"
start_ticks=$(cpu_ticks "$program")
start_time=$(date +%s.%N)
if [ -n "${ZV_STRACE:-}" ]; then strace -f ${ZV_STRACE_ARGS:--c} -o "$ZV_STRACE" -p "$program" & sleep "$seconds"; kill %% 2>/dev/null; sleep 0.5; elif [ -n "${ZV_PERF:-}" ]; then perf record -F ${ZV_PERF_HZ:-499} ${ZV_PERF_ARGS:--g} -p "$program" -o "$ZV_PERF" -- sleep "$seconds" >/dev/null 2>&1; else sleep "$seconds"; fi
end_ticks=$(cpu_ticks "$program")
end_time=$(date +%s.%N)
end=$(snapshot "$program")
thread_switches "$program" >"$work/threads.end"
[ -n "${ZV_SMAPS:-}" ] && cp "/proc/$program/smaps" "$ZV_SMAPS"
peak_kib=$(awk '/^VmHWM:/ {print $2}' "/proc/$program/status")
rss_kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$program/status")
windows=$(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null | wc -l)
# Per thread, for finding what costs: name, CPU seconds and context switches.
# Threads that end meanwhile (a sound channel's) are left out.
threads=$(for task in /proc/$program/task/*; do
  name=$(tr ' ' '_' <"$task/comm" 2>/dev/null) || continue
  cpu=$(awk -v hz="$ticks" '{printf "%.2f", ($14 + $15) / hz}' "$task/stat" 2>/dev/null) || continue
  cs=$(awk '/^(non)?voluntary_ctxt_switches:/ {n += $2} END {print n}' "$task/status" 2>/dev/null) || continue
  printf '%s=%s/%s ' "$name" "$cpu" "$cs"
done)
kill "$program"
wait "$program" 2>/dev/null || true
echo "threads (cpu s/context switches since start): $threads"
# Per thread over the measured seconds, for finding what wakes: threads that lived
# through them only.
echo "thread wake-ups/s while measured: $(awk -v wall="$(awk -v a="$start" -v b="$end" 'BEGIN {split(a, x, " "); split(b, y, " "); print y[9] - x[9]}')" '
  NR == FNR {n[$1] = $3; next}
  ($1 in n) {printf "%s=%.1f ", $2, ($3 - n[$1]) / wall}' "$work/threads.start" "$work/threads.end")"
awk -v t0="$start_ticks" -v t1="$end_ticks" -v s0="$start_time" -v s1="$end_time" -v hz="$ticks" \
    -v peak="$peak_kib" -v rss="$rss_kib" -v n="$count" -v w="$windows" 'BEGIN {
  cpu = (t1 - t0) / hz; wall = s1 - s0;
  printf "characters %d (visible windows %d), %.1f s measured\n", n, w, wall;
  printf "cpu %.2f s = %.2f %% of one core\n", cpu, 100 * cpu / wall;
  printf "rss %.1f MiB now, peak %.1f MiB\n", rss / 1024, peak / 1024;
}'
report "zelvotta" "$start" "$end" "$(awk -v k="$peak_kib" 'BEGIN {printf "%.1f", k / 1024}')"
program_whole="$whole"
[ "$compare" = 1 ] || exit 0

# The same count of toons at 30 frames a second (a frame every 33 ms), on the same
# display with the same compositor and sound server, after the program has gone.
sleep 2
penguins=$(command -v xpenguins || echo /usr/games/xpenguins)
"$penguins" -q -n "$count" -m 33 >/dev/null 2>&1 &
toons=$!
pids+=("$toons")
sleep 5
start=$(snapshot "$toons")
sleep "$seconds"
end=$(snapshot "$toons")
toons_peak=$(peak_mib "$toons")
kill "$toons"
wait "$toons" 2>/dev/null || true
report "xpenguins" "$start" "$end" "$toons_peak"
awk -v a="$program_whole" -v b="$whole" 'BEGIN {
  if (b > 0) printf "ratio of whole costs (zelvotta / xpenguins): %.2f\n", a / b;
  else print "ratio of whole costs: xpenguins cost nothing measurable";
}'
