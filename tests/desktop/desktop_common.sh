# Shared by the desktop tests: checks, waiting, background processes, and a private X
# server with a compositor and a tray host. Sourced after the caller has set `work` (a
# scratch folder), `here` (this folder), `failures=0` and `pids=()`.

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

stop_background() {  # stop_background: ends what start_bg started and waits for it
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}

end_on_exit() {  # end_on_exit: at exit, stops the background processes and removes `work`
  trap 'stop_background; rm -rf "$work"' EXIT
}

use_private_runtime() {  # a private runtime folder: locks and state of other runs never meet this one
  export XDG_RUNTIME_DIR="$work/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
}

start_desktop() {  # start_desktop: Xvfb on a free display, xcompmgr and trayer
  display_number=$((90 + RANDOM % 400))
  while [ -e "/tmp/.X11-unix/X$display_number" ] || [ -e "/tmp/.X$display_number-lock" ]; do
    display_number=$((display_number + 1))
  done
  export DISPLAY=":$display_number"
  start_bg "$work/xvfb.log" Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp
  wait_for 20 xdpyinfo || { echo "FAIL Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
  xsetroot -solid "#3050a0"
  start_bg "$work/xcompmgr.log" xcompmgr
  compositor_pid=$last_pid
  start_bg "$work/trayer.log" trayer --edge bottom --align right --widthtype pixel --width 200 \
    --heighttype pixel --height 32 --transparent false
  wait_for 10 xdotool search --class trayer
}

screenshot() {  # screenshot FILE.ppm; the top-left corner gives the desktop's colour
  import -window root -depth 8 "$1"
  background="$(python3 "$here/screen.py" pixel "$1" 1 1)"
}

character_window() {  # the visible 160×128 character window's id (Hopper's)
  for id in $(xdotool search --onlyvisible --name '^Zelvotta_Character_Window$' 2>/dev/null); do
    if xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 160x128'; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

window_position() {  # window_position ID: prints "X Y"
  xdotool getwindowgeometry "$1" | sed -n 's/.*Position: \([-0-9]*\),\([-0-9]*\).*/\1 \2/p'
}
