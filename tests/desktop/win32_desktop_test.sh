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
# shellcheck source=desktop_common.sh
source "$here/desktop_common.sh"

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  WINEPREFIX="$ZV_WINEPREFIX" wineserver -k 2>/dev/null
  wait 2>/dev/null
  cp "$work"/*.ppm "${ZV_DESKTOP_SHOTS:-/nonexistent}/" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Wine as a Japanese Windows, the system the program was made for: the default
# character set is then Japanese, so balloons and boxes find Japanese glyphs.
run_wine() { LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 bash "$wine_run" "$@"; }

# --- the X server, the compositor, the tray host and Wine's prefix ------------------
start_desktop
# The first use of the prefix creates it (about 40 s); the program's own start is timed
# from then on.
run_wine cmd /c exit 0 >/dev/null 2>&1
# Wine's own interface fonts have no Japanese: the menus and boxes borrow IPA Gothic's
# glyphs (from fonts-ipafont-gothic), as Japanese Windows has them, so screenshots read.
link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
for face in Tahoma "MS Shell Dlg"; do
  run_wine reg add "$link" /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null 2>&1
done
run_wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d IPAGothic /f >/dev/null 2>&1
WINEPREFIX="$ZV_WINEPREFIX" wineserver -w

app="$work/app"
mkdir -p "$app/Characters"
cp "$program" "$app/zelvotta.exe"
cp -r "$characters/Hopper" "$app/Characters/"

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
start_bg "$work/first.log" run_wine "$app/zelvotta.exe"
first_pid=$last_pid
wait_for 60 character_window
check "zelvotta.exe starts and shows its character" $?
sleep 2
window="$(character_window)"
screenshot "$work/win32-shot1.ppm"
read -r wx wy <<<"$(window_position "$window")"
region="$(python3 "$here/screen.py" region "$work/win32-shot1.ppm" "${wx:-0}" "${wy:-0}" 160 128 "$background")"
read -r _ bg _ other <<<"$(echo "$region" | sed -n 1p)"
read -r _ ox oy depth <<<"$(echo "$region" | sed -n 2p)"
[ "${other:-0}" -ge 200 ]
check "the character's opaque pixels are on screen (window at $wx,$wy; $other pixels)" $?
[ "${bg:-0}" -ge 200 ]
check "the desktop shows through its transparent pixels ($bg pixels of #$background)" $?

# --- 2. a second copy says it cannot start, and ends ---------------------------------
start_bg "$work/second.log" run_wine "$app/zelvotta.exe"
second_pid=$last_pid
box="$(run_wine "$probe" box 30 2>/dev/null | tr -d '\r')"
[ "$box" = "box エラー|多重起動はできません" ]
check "a second copy shows the box エラー: 多重起動はできません" $? "$box"
wait_for 15 bash -c "! kill -0 $second_pid"
check "the second copy ends once its box is closed" $?
kill -0 "$first_pid" 2>/dev/null
check "the first copy keeps running" $?

# --- 3. the menu's exit item ends zelvotta.exe ---------------------------------------
end_through_menu zelvotta.exe "${ox:-24}" "${oy:-24}"
wait_for 30 bash -c "! kill -0 $first_pid"
check "choosing 終了 in the character's menu ends zelvotta.exe" $?

# --- 4. the same run traced: the exit function plays before the program ends --------
start_bg "$work/traced.log" run_wine "$tool" run --platform win32 --app-dir "$app" \
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
