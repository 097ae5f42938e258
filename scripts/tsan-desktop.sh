#!/usr/bin/env bash
# The real frame thread against the window thread under ThreadSanitizer: the Linux
# program (the tsan build) with 15 characters on a private Xvfb with xcompmgr, driven by
# xdotool with random clicks, drags, strokes and menus for the given time (default 120
# s). Prints how many ThreadSanitizer reports the program wrote, and the first one.
# Usage: scripts/tsan-desktop.sh [SECONDS]   (after bash scripts/build.sh tsan)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-120}"
tool="build/tsan/zelvotta-tool"
[ -x "$tool" ] || { echo "tsan-desktop: build first (bash scripts/build.sh tsan)" >&2; exit 1; }
work="$(mktemp -d)"
here="$PWD/tests/desktop"
failures=0
pids=()
# shellcheck source=../tests/desktop/desktop_common.sh
source "$here/desktop_common.sh"
end_on_exit

start_desktop
use_private_runtime
mkdir -p "$work/app/Characters"
shipped=(Walker Hopper)
for i in $(seq 15); do
  cp -r "characters/${shipped[$(((i - 1) % 2))]}" "$work/app/Characters/$(printf 'Chara%02d' "$i")"
done
export TSAN_OPTIONS="suppressions=$PWD/cmake/tsan-suppressions.txt${TSAN_OPTIONS:+:$TSAN_OPTIONS}"
start_bg "$work/program.log" "$tool" run --platform qt --app-dir "$work/app" --trace "$work/trace.jsonl"
program=$last_pid
wait_for 60 xdotool search --onlyvisible --name '^Zelvotta_Character_Window$'

end=$((SECONDS + seconds))
while [ $SECONDS -lt $end ] && kill -0 "$program" 2>/dev/null; do
  ids=($(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null))
  [ ${#ids[@]} -gt 0 ] || { sleep 0.2; continue; }
  id=${ids[$((RANDOM % ${#ids[@]}))]}
  case $((RANDOM % 6)) in
    0|1) xdotool mousemove --window "$id" 16 16 click 1 2>/dev/null ;;
    2) xdotool mousemove --window "$id" 16 16 mousedown 1 mousemove_relative 40 -60 sleep 0.3 mouseup 1 2>/dev/null ;;
    3) for step in 1 2 3 4 5 6 7 8; do xdotool mousemove --window "$id" $((8 + step * 3)) $((10 + step % 3)) 2>/dev/null; done ;;
    4) xdotool mousemove --window "$id" 16 16 click 3 sleep 0.3 key Escape 2>/dev/null ;;
    5) xdotool mousemove $((RANDOM % 1024)) $((RANDOM % 768)) 2>/dev/null ;;
  esac
  sleep 0.1
done
alive=0
kill -0 "$program" 2>/dev/null && alive=1
kill -TERM "$program" 2>/dev/null
sleep 2
reports=$(grep -c '^WARNING: ThreadSanitizer' "$work/program.log" || true)
echo "tsan-desktop: ${seconds}s of input, program still running at the end: $alive, ThreadSanitizer reports: $reports"
# What the input made the characters do, from the trace: events by kind, hit events by type.
if [ -f "$work/trace.jsonl" ]; then
  echo "tsan-desktop: trace records by event: $(sed -n 's/.*"event":"\([a-z_]*\)".*/\1/p' "$work/trace.jsonl" | sort | uniq -c | sort -rn | awk '{printf "%s %s, ", $2, $1}')"
  echo "tsan-desktop: functions entered by type: $(sed -n 's/.*"event":"function".*"type":"\([A-Z_]*\)".*/\1/p' "$work/trace.jsonl" | sort | uniq -c | sort -rn | awk '{printf "%s %s, ", $2, $1}')"
fi
if [ "$reports" -gt 0 ]; then
  # Each report with the first frame of our own code in it (none: all inside libraries).
  awk -v root="$PWD/" '/^WARNING: ThreadSanitizer/ { n++; found = 0; printf "report %d:", n }
       index($0, root "src/") || index($0, root "tools/") {
         if (!found) { sub(/^ *#[0-9]+ /, ""); printf " %s", $0; found = 1 } }
       /^SUMMARY/ { print found ? "" : " (only library frames)" }' "$work/program.log"
  sed -n '/^WARNING: ThreadSanitizer/,/^SUMMARY/p' "$work/program.log" | head -n 60
fi
[ "$alive" -eq 1 ] && [ "$reports" -eq 0 ]
