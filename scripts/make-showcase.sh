#!/usr/bin/env bash
# Makes the README's pictures of the demo characters (docs/images/):
#   desktop.png  the Linux program (Qt) on a private X server with a compositor and a
#                tray host: both characters greeting in their balloons;
#   tour.gif     the first part of the demo tour, recorded headless with
#                `zelvotta-tool record` from tests/data/demo_tour.input.
# Needs a built tree (bash scripts/build.sh); anyone can run it again:
#   bash scripts/make-showcase.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="${1:-build/default}"
tool="$build/zelvotta-tool"
[ -x "$tool" ] || { echo "make-showcase: no $tool; build first (bash scripts/build.sh)" >&2; exit 1; }
out="$root/docs/images"
mkdir -p "$out"

work="$(mktemp -d)"
here="$root/tests/desktop"
failures=0
pids=()
# shellcheck source=../tests/desktop/desktop_common.sh
source "$here/desktop_common.sh"
end_on_exit

# --- the animation: headless, repeatable -------------------------------------------
mkdir -p "$work/tour"
cp -r characters "$work/tour/Characters"
"$tool" record --app-dir "$work/tour" --screen 800x600 --seed 11 --frames 660 --every 3 \
  --input tests/data/demo_tour.input "$out/tour.gif"
echo "make-showcase: wrote $out/tour.gif"

# --- the screenshot: the real program on a desktop ----------------------------------
mkdir -p "$work/desk"
cp -r characters "$work/desk/Characters"
start_desktop
start_bg "$work/program.log" "$tool" run --platform qt --app-dir "$work/desk"
program_pid=$last_pid
walker=""
find_walker() {  # the visible 32×32 character window: Walker
  for id in $(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 32x32'; then
      walker=$id
      return 0
    fi
  done
  return 1
}
wait_for 20 find_walker || { echo "make-showcase: the program showed no characters" >&2; cat "$work/program.log" >&2; exit 1; }
# Walker greets when clicked, once it has walked in from the corner; Hopper is telling
# what it does by then.
sleep 3
xdotool mousemove --window "$walker" 16 14 click 1 mousemove 560 200
sleep 1.8
import -window root -depth 8 "$out/desktop.png"
echo "make-showcase: wrote $out/desktop.png"
kill "$program_pid" 2>/dev/null || true
