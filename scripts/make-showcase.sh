#!/usr/bin/env bash
# Makes the README's pictures of the demo characters (docs/images/):
#   desktop.png  the Linux program (Qt) on a private 1280 x 800 X server with a
#                compositor, a tray host, our wallpaper and three X programs as
#                windows: the characters at 150 %, Walker greeting in its balloon while
#                Hopper climbs to the shelf above;
#   tour.gif     the first 15 seconds of the demo tour with the characters at 200 %,
#                recorded headless with `zelvotta-tool record` at 15 frames a second,
#                the tour planned for that scale by scripts/make_demo_tour.py.
# Needs a built tree (bash scripts/build.sh) and the generator's packages
# (bash scripts/install-deps.sh generator); anyone can run it again:
#   bash scripts/make-showcase.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="${1:-build/default}"
tool="$build/zelvotta-tool"
[ -x "$tool" ] || { echo "make-showcase: no $tool; build first (bash scripts/build.sh)" >&2; exit 1; }
bash scripts/install-deps.sh generator
# Cairo comes with Debian's Python, which may not be the first python3 on the PATH.
python=/usr/bin/python3
out="$root/docs/images"
mkdir -p "$out"

work="$(mktemp -d)"
here="$root/tests/desktop"
failures=0
pids=()
# shellcheck source=../tests/desktop/desktop_common.sh
source "$here/desktop_common.sh"
end_on_exit

# An app folder with the shipped characters, starting at a display scale (ScaleID).
app_at_scale() {  # app_at_scale FOLDER SCALE_ID
  mkdir -p "$1/Params"
  cp -r characters "$1/Characters"
  printf 'ScaleID=%s\n' "$2" >"$1/Params/app.cfg"
}

# --- the animation: headless, repeatable -------------------------------------------
# The tour at 200 % (ScaleID 32778) on a 960 x 540 desktop: the characters fill it, so
# the picture is the action and little else. Every second frame: 15 frames a second.
app_at_scale "$work/tour" 32778
"$python" scripts/make_demo_tour.py --scale 2 --screen 960x540 --out "$work/tour.input" "$tool" >/dev/null
"$tool" record --app-dir "$work/tour" --screen 960x540 --seed 11 --frames 450 --every 2 \
  --input "$work/tour.input" "$work/tour.gif"
# gifsicle packs what changes from frame to frame, in 72 colours: 15 seconds in under
# 3 MB, without the smears its lossy mode leaves on the flat background.
gifsicle -O3 --colors 72 "$work/tour.gif" -o "$out/tour.gif" 2>/dev/null
size=$(stat -c %s "$out/tour.gif")
echo "make-showcase: wrote $out/tour.gif ($size bytes)"
[ "$size" -le 3000000 ] || echo "make-showcase: tour.gif is over 3 MB" >&2

# --- the screenshot: the real program on a desktop ----------------------------------
display_number=$((90 + RANDOM % 400))
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
  display_number=$((display_number + 1))
done
export DISPLAY=":$display_number"
use_private_runtime
start_bg "$work/xvfb.log" Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp
wait_for 20 xdpyinfo || { echo "make-showcase: Xvfb did not start" >&2; exit 1; }
# The wallpaper is a window of its own at the bottom of the stack: the compositor draws
# the root window grey whatever picture it holds.
"$python" scripts/chargen/wallpaper.py 1280 800 "$work/wallpaper.png"
start_bg "$work/feh.log" feh --borderless --geometry 1280x800+0+0 --title wallpaper "$work/wallpaper.png"
wait_for 10 xdotool search --name '^wallpaper$'
start_bg "$work/xcompmgr.log" xcompmgr -c -r 6 -o 0.3 -l -8 -t -8
start_bg "$work/trayer.log" trayer --edge top --align right --widthtype pixel --width 120 \
  --heighttype pixel --height 28 --transparent true --alpha 60 --tint 0x203048
wait_for 10 xdotool search --class trayer
app_at_scale "$work/desk" 32780
# The terminal shows the characters being checked, as an author would.
cat >"$work/terminal.sh" <<EOF
cd "$work/desk"
prompt() { printf '\033[32mzelvotta\033[0m:\033[34m~/desk\033[0m\$ %s\n' "\$1"; }
prompt 'ls Characters/*/Images'
ls --color=always Characters/*/Images
prompt 'zelvotta-tool check'
"$(realpath "$tool")" check --app-dir .
prompt 'zelvotta-tool image Characters/Hopper/Images/hopper.png'
"$(realpath "$tool")" image Characters/Hopper/Images/hopper.png
printf '\033[32mzelvotta\033[0m:\033[34m~/desk\033[0m\$ '
sleep 600
EOF
start_bg "$work/xterm.log" xterm -geometry 80x18+70+70 -fa "DejaVu Sans Mono" -fs 10 -bg "#1e2430" \
  -fg "#d8dee9" -T "xterm" -e bash --norc "$work/terminal.sh"
start_bg "$work/xclock.log" xclock -geometry 150x150+1090+60 -update 1 -bg "#f4f4f0"
start_bg "$work/xcalc.log" xcalc -geometry 230x300+760+300
sleep 1

# With seed 5 Hopper climbs to the shelf above when it first reaches the right edge,
# twelve seconds in (a headless run of the same desktop shows it). Hopper tells the
# time on every full minute, which would change its walk: start just after one.
while [ "$(date +%S)" -gt 2 ]; do sleep 0.5; done
start_bg "$work/program.log" "$tool" run --platform qt --seed 5 --app-dir "$work/desk"
window_of_size() {  # window_of_size WxH: the visible character window of that size
  for id in $(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: $1\$"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
walker=""
hopper=""
find_characters() {
  walker=$(window_of_size 216x168) && hopper=$(window_of_size 240x192)
}
wait_for 20 find_characters || { echo "make-showcase: the program showed no characters" >&2; cat "$work/program.log" >&2; exit 1; }
find_characters
# Hopper's climb: its window rises. Watch for it for at most a minute.
climbing() {
  local first second
  first=$(window_position "$hopper" | cut -d' ' -f2)
  sleep 0.15
  second=$(window_position "$hopper" | cut -d' ' -f2)
  [ "$second" -lt "$first" ]
}
wait_for 40 climbing || echo "make-showcase: Hopper did not climb; the picture shows it walking" >&2
# Walker greets when clicked; a second later its balloon is open and its line typed.
xdotool mousemove --window "$walker" 108 90 click 1 mousemove 640 780
sleep 1.1
import -window root -depth 8 "$out/desktop.png"
echo "make-showcase: wrote $out/desktop.png"
