#!/usr/bin/env bash
# The Linux desktop program on a real X server: starts its own Xvfb with a compositor
# (xcompmgr) and a tray host (trayer), runs a shipped character through
# `zelvotta-tool run --platform qt`, drives it with xdotool and looks at screenshots.
# Usage: desktop_test.sh TOOL CHARACTERS_DIR CLICK_COUNTER
# Prints one line per check; exits 0 when all pass.
set -uo pipefail
tool="$1"
characters="$2"
counter="$3"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
background=""  # the desktop's colour, read off the first screenshot
failures=0
pids=()
# shellcheck source=desktop_common.sh
source "$here/desktop_common.sh"

end_on_exit

# --- the X server, the background colour, the compositor and the tray host ----------
start_desktop

use_private_runtime
export QT_QPA_PLATFORM=xcb
app="$work/app"
mkdir -p "$app/Characters"
cp -r "$characters/Hopper" "$app/Characters/"

last_position() {  # the latest traced position of Hopper: "X Y"
  grep '"event":"position"' "$1" | tail -n 1 | sed -n 's/.*"x":\([-0-9]*\),"y":\([-0-9]*\).*/\1 \2/p'
}

start_program() {  # start_program NAME: the program in the background, trace NAME.jsonl
  start_bg "$work/$1.log" "$tool" run --platform qt --app-dir "$app" --trace "$work/$1.jsonl" --positions
  program_pid=$last_pid
  wait_for 20 grep -q '"event":"position"' "$work/$1.jsonl" && wait_for 10 character_window
}

# --- 1. the character on screen with its transparent pixels showing the desktop ------
start_program first
check "the program starts and shows its character" $?
sleep 1
window="$(character_window)"
screenshot "$work/shot1.ppm"
read -r wx wy <<<"$(window_position "$window")"
read -r tx ty <<<"$(last_position "$work/first.jsonl")"
region="$(python3 "$here/screen.py" region "$work/shot1.ppm" "$wx" "$wy" 160 128 "$background")"
read -r _ bg _ other <<<"$(echo "$region" | sed -n 1p)"
[ "${other:-0}" -ge 200 ]
check "the character's opaque pixels are on screen (window at $wx,$wy, traced $tx,$ty; $other pixels)" $?
[ "${bg:-0}" -ge 200 ]
check "the desktop shows through its transparent pixels ($bg background pixels)" $?
dx=$((wx - tx)); dy=$((wy - ty))
[ "${dx#-}" -le 12 ] && [ "${dy#-}" -le 12 ]
check "the window sits at the traced position" $? "window $wx,$wy traced $tx,$ty"

# --- 2. clicks: through a transparent pixel to the window below, on an opaque one to it
read -r _ cx cy cr <<<"$(echo "$region" | sed -n 3p)"
read -r _ ox oy depth <<<"$(echo "$region" | sed -n 2p)"
# The counter window lies across the character's line, below the character window.
start_bg "$work/counter.log" "$counter" 0 $((wy - 40)) 1024 208
counter_pid=$last_pid
wait_for 10 grep -q ready "$work/counter.log"
sleep 0.5
window="$(character_window)"
xdotool windowraise "$window"
sleep 0.2
# One xdotool call moves relative to the window and clicks at once, while it walks.
xdotool mousemove --window "$window" "${cx:-2}" "${cy:-2}" click 1
sleep 0.5
grep -q '^click 1' "$work/counter.log"
check "a click on a transparent pixel reaches the window below (point $cx,$cy r$cr)" $?

before=$(grep -c '"function":"held"' "$work/first.jsonl")
xdotool mousemove --window "$window" "$ox" "$oy" mousedown 1
sleep 0.5
after=$(grep -c '"function":"held"' "$work/first.jsonl")
[ "$after" -gt "$before" ]
check "a press on an opaque pixel reaches the character (depth $depth): it is held" $?
clicks_before=$(grep -c '^click' "$work/counter.log")

# --- 3. a drag moves the character with the cursor and drops it ----------------------
read -r px py <<<"$(xdotool getmouselocation | sed -n 's/x:\([0-9]*\) y:\([0-9]*\).*/\1 \2/p')"
for step in 1 2 3 4 5 6 7 8 9 10; do
  xdotool mousemove $((px + step * 15)) $((py - step * 20))
  sleep 0.05
done
sleep 0.5
read -r hx hy <<<"$(window_position "$window")"
moved_x=$((hx - wx)); moved_y=$((hy - wy))
[ "$moved_x" -ge 100 ] && [ "$moved_y" -le -150 ]
check "the held character follows the cursor (moved by $moved_x,$moved_y)" $?
xdotool mouseup 1
sleep 0.5
grep -q '"type":"RELEASE_EVENT"' "$work/first.jsonl" || grep -q '"function":"dropped"' "$work/first.jsonl"
check "releasing the button drops it" $?
clicks_after=$(grep -c '^click' "$work/counter.log")
[ "$clicks_after" -eq "$clicks_before" ]
check "the press and drag on the character never reached the window below" $?
kill "$counter_pid" 2>/dev/null

# --- 4. the tray icon and its menu ---------------------------------------------------
# The icon docks as a window of ours (class "zelvotta") inside trayer's panel.
tray_icon="$(xwininfo -root -tree | awk '
  { depth = match($0, /[^ ]/) }
  inside && depth <= panel_depth { exit }
  /"panel": \("panel" "trayer"\)/ { inside = 1; panel_depth = depth; next }
  inside && /"zelvotta": \("zelvotta" "zelvotta"\)/ { print $1; exit }')"
[ -n "$tray_icon" ]
check "the notification icon is in the tray host" $?
if [ -n "$tray_icon" ]; then
  menus_before=$(grep -c '"event":"menu","owner":""' "$work/first.jsonl")
  xdotool mousemove --window "$tray_icon" 8 8 click 3
  sleep 0.8
  menus_after=$(grep -c '"event":"menu","owner":""' "$work/first.jsonl")
  [ "$menus_after" -gt "$menus_before" ]
  check "a right click on the icon opens the notification menu" $?
  xdotool key Escape
  sleep 0.3
fi

# --- 5. a second copy says so and ends ---------------------------------------------
start_bg "$work/second.out" "$tool" run --platform qt --app-dir "$app" --trace "$work/second.jsonl"
second_pid=$last_pid
wait_for 15 grep -q '多重起動はできません' "$work/second.out"
check "a second copy shows its message" $?
box=""
wait_for 10 xdotool search --onlyvisible --name . && box=$(xdotool search --onlyvisible --pid "$second_pid" 2>/dev/null | head -n 1)
if [ -n "$box" ]; then
  xdotool windowfocus "$box" key Return 2>/dev/null
fi
wait_for 10 bash -c "! kill -0 $second_pid"
check "the second copy ends once its message is dismissed" $?
[ "$(grep -c -v '^messagebox ' "$work/second.out")" -eq 0 ]
check "the second copy prints nothing but its message" $? "$(cat "$work/second.out")"

# --- 6. the character menu's exit item ends the program -----------------------------
window="$(character_window)"
xdotool mousemove --window "$window" "$ox" "$oy" click 3
sleep 0.8
grep -q '"event":"menu","owner":"Hopper"' "$work/first.jsonl"
check "a right click opens the character menu" $?
# The exit item is the menu's last: Up from an unselected menu picks it.
xdotool key Up Return
wait_for 20 bash -c "! kill -0 $program_pid"
wait "$program_pid"
code=$?
[ "$code" -eq 0 ] && grep -q '"event":"quit","code":0' "$work/first.jsonl"
check "choosing 終了 ends the program with exit code 0 (got $code)" $?
grep -q '"type":"EXIT_EVENT"' "$work/first.jsonl"
check "the exit function played first" $?

# --- 7. without a compositor the bounding shape lets the desktop through ------------
kill "$compositor_pid"
sleep 1
# The root repainted in a colour no transparent pixel of an uncomposited window shows
# (those would be black).
xsetroot -solid "#3050a0"
start_program nocomp
check "the program starts without a compositor" $?
sleep 1
window="$(character_window)"
screenshot "$work/shot2.ppm"
read -r wx wy <<<"$(window_position "$window")"
read -r _ bg _ other <<<"$(python3 "$here/screen.py" region "$work/shot2.ppm" "$wx" "$wy" 160 128 "$background" | sed -n 1p)"
[ "$background" = "3050a0" ] && [ "${bg:-0}" -ge 200 ] && [ "${other:-0}" -ge 200 ]
check "without a compositor the desktop still shows through ($bg pixels of #$background, $other character pixels)" $?
# A window laid over the character and taken away again: the server asks the character
# window for the pixels it lost, and it must give them, not leave the other's colour.
start_bg "$work/cover.log" "$counter" $((wx - 16)) $((wy - 16)) 192 160
cover_pid=$last_pid
wait_for 10 grep -q ready "$work/cover.log"
sleep 0.5
screenshot "$work/shot3.ppm"
read -r _ covered _ <<<"$(python3 "$here/screen.py" region "$work/shot3.ppm" "$wx" "$wy" 160 128 20a040 | sed -n 1p)"
kill "$cover_pid" 2>/dev/null
wait "$cover_pid" 2>/dev/null
sleep 0.5
screenshot "$work/shot4.ppm"
read -r wx2 wy2 <<<"$(window_position "$(character_window)")"
read -r _ left _ other <<<"$(python3 "$here/screen.py" region "$work/shot4.ppm" "$wx2" "$wy2" 160 128 20a040 | sed -n 1p)"
[ "${covered:-0}" -ge 1000 ] && [ "${left:-1}" -eq 0 ]
check "a window laid over the character and removed leaves its pixels repainted ($covered covered, $left left over)" $?
kill "$program_pid" 2>/dev/null
cp "$work"/shot*.ppm "${ZV_DESKTOP_SHOTS:-/nonexistent}/" 2>/dev/null

echo "$failures failed"
[ "$failures" -eq 0 ]
