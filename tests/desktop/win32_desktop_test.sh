#!/usr/bin/env bash
# The Windows program under Wine on a real X server: starts its own Xvfb with a
# compositor and a tray host, runs zelvotta.exe with a shipped character, looks at a
# screenshot, starts a second copy, and ends the program through the character's menu;
# then the same through `zelvotta-tool.exe run --platform win32 --trace` to see the
# exit function play.
# Usage: win32_desktop_test.sh PROGRAM.exe TOOL.exe CHARACTERS_DIR PROBE.exe WINE_RUN WINEPREFIX
# Prints one line per check; exits 0 when all pass.
set -uo pipefail
program="$1"
tool="$2"
characters="$3"
probe="$4"
wine_run="$5"
export ZV_WINEPREFIX="$6"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
background=""
failures=0
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  WINEPREFIX="$ZV_WINEPREFIX" wineserver -k 2>/dev/null
  wait 2>/dev/null
  cp "$work"/*.ppm "${ZV_DESKTOP_SHOTS:-/nonexistent}/" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check NAME CONDITION-STATUS [DETAIL]
  if [ "$2" -eq 0 ]; then
    echo "PASS $1"
  else
    echo "FAIL $1${3:+: $3}"
    failures=$((failures + 1))
  fi
}

wait_for() {  # wait_for SECONDS COMMAND...: polls until the command succeeds
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.2
  done
}

start_bg() {  # start_bg LOG COMMAND...: runs in the background, remembers the pid
  local log="$1"
  shift
  "$@" >"$log" 2>&1 &
  last_pid=$!
  pids+=("$last_pid")
}

# --- the X server, the compositor, the tray host and Wine's prefix ------------------
display_number=$((90 + RANDOM % 400))
while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
  display_number=$((display_number + 1))
done
export DISPLAY=":$display_number"
start_bg "$work/xvfb.log" Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp
wait_for 20 xdpyinfo || { echo "FAIL Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
xsetroot -solid "#3050a0"
start_bg "$work/xcompmgr.log" xcompmgr
start_bg "$work/trayer.log" trayer --edge bottom --align right --widthtype pixel --width 200 \
  --heighttype pixel --height 32 --transparent false
wait_for 10 xdotool search --class trayer
# The first use of the prefix creates it (about 40 s); the program's own start is timed
# from then on.
bash "$wine_run" cmd /c exit 0 >/dev/null 2>&1

app="$work/app"
mkdir -p "$app/Characters"
cp "$program" "$app/zelvotta.exe"
cp -r "$characters/Hopper" "$app/Characters/"

screenshot() {  # screenshot FILE.ppm; the top-left corner gives the desktop's colour
  import -window root -depth 8 "$1"
  background="$(python3 "$here/screen.py" pixel "$1" 1 1)"
}

character_window() {  # the visible 48×48 character window's id
  for id in $(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 48x48'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

window_position() {  # window_position ID: prints "X Y"
  xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \([-0-9]*\),\([-0-9]*\).*/\1 \2/p'
}

menu_window() {  # menu_window EXE: prints "X Y W H" of the program's open pop-up menu
  local id geometry
  for id in $(xdotool search --onlyvisible --class "^$1\$" 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] || continue
    geometry="$(xdotool getwindowgeometry "$id" 2>/dev/null | tr '\n' ' ')"
    case "$geometry" in *"Geometry: 1x1"*) continue ;; esac
    echo "$geometry" | sed -n 's/.*Position: \([-0-9]*\),\([-0-9]*\).*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2 \3 \4/p'
    return 0
  done
  return 1
}

end_through_menu() {  # end_through_menu EXE X Y: right-clicks the character, picks 終了
  local window menu mx my mw mh try
  # Under Wine the first menu of a run can close again at once (its owner's activation
  # goes to the desktop): a person clicks again, and so does this.
  for try in 1 2 3; do
    window="$(character_window)" || return 1
    # One call moves and clicks while the character walks.
    xdotool mousemove --window "$window" "$2" "$3" click 3
    wait_for 5 menu_window "$1" && break
  done
  menu="$(menu_window "$1")" || return 1
  read -r mx my mw mh <<<"$menu"
  # The exit item is the menu's last.
  xdotool mousemove $((mx + 20)) $((my + mh - 9))
  sleep 0.5
  xdotool click 1
}

# --- 1. zelvotta.exe shows its character, the desktop showing through ---------------
start_bg "$work/first.log" bash "$wine_run" "$app/zelvotta.exe"
first_pid=$last_pid
wait_for 60 character_window
check "zelvotta.exe starts and shows its character" $?
sleep 2
window="$(character_window)"
screenshot "$work/win32-shot1.ppm"
read -r wx wy <<<"$(window_position "$window")"
region="$(python3 "$here/screen.py" region "$work/win32-shot1.ppm" "${wx:-0}" "${wy:-0}" 48 48 "$background")"
read -r _ bg _ other <<<"$(echo "$region" | sed -n 1p)"
read -r _ ox oy depth <<<"$(echo "$region" | sed -n 2p)"
[ "${other:-0}" -ge 200 ]
check "the character's opaque pixels are on screen (window at $wx,$wy; $other pixels)" $?
[ "${bg:-0}" -ge 200 ]
check "the desktop shows through its transparent pixels ($bg pixels of #$background)" $?

# --- 2. a second copy says it cannot start, and ends ---------------------------------
start_bg "$work/second.log" bash "$wine_run" "$app/zelvotta.exe"
second_pid=$last_pid
box="$(bash "$wine_run" "$probe" box "エラー" 30 2>/dev/null | tr -d '\r')"
[ "$box" = "box 多重起動はできません" ]
check "a second copy shows the box 多重起動はできません" $? "$box"
wait_for 15 bash -c "! kill -0 $second_pid"
check "the second copy ends once its box is closed" $?
kill -0 "$first_pid" 2>/dev/null
check "the first copy keeps running" $?

# --- 3. the menu's exit item ends zelvotta.exe ---------------------------------------
end_through_menu zelvotta.exe "${ox:-24}" "${oy:-24}"
wait_for 30 bash -c "! kill -0 $first_pid"
check "choosing 終了 in the character's menu ends zelvotta.exe" $?

# --- 4. the same run traced: the exit function plays before the program ends --------
start_bg "$work/traced.log" bash "$wine_run" "$tool" run --platform win32 --app-dir "$app" \
  --trace "$work/traced.jsonl"
traced_pid=$last_pid
wait_for 60 character_window
check "zelvotta-tool.exe run --platform win32 shows the character" $?
sleep 2
end_through_menu zelvotta-tool.exe "${ox:-24}" "${oy:-24}"
code=1
if wait_for 30 bash -c "! kill -0 $traced_pid"; then
  wait "$traced_pid"
  code=$?
fi
[ "$code" -eq 0 ] && grep -q '"event":"quit","code":0' "$work/traced.jsonl"
check "the traced run ends with exit code 0 (got $code)" $?
grep -q '"type":"EXIT_EVENT"' "$work/traced.jsonl"
check "the exit function played first" $?

echo "$failures failed"
[ "$failures" -eq 0 ]
