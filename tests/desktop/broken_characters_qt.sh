#!/usr/bin/env bash
# The broken-character corpus in the Linux desktop program: each folder of
# tests/data/broken_characters alone in `zelvotta-tool run --platform qt` shows exactly
# its message in an "エラー" box on a real X server; once the box is dismissed with
# Return, the program ends with exit code 0, never with a crash.
# Usage: broken_characters_qt.sh TOOL CORPUS_DIR
set -uo pipefail
tool="$1"
corpus="$2"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
failures=0
pids=()
# shellcheck source=desktop_common.sh
source "$here/desktop_common.sh"

end_on_exit

start_desktop
use_private_runtime

shown_message() {  # shown_message TRACE: the caption and text of its message box, "caption|text"
  python3 -c '
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if record["event"] == "messagebox":
        print(record["caption"] + "|" + record["text"])
' "$1"
}

count=0
while IFS=$'\t' read -r folder message; do
  case "$folder" in ''|'#'*) continue ;; esac
  count=$((count + 1))
  app="$work/app-$count"
  mkdir -p "$app/Characters"
  cp -r "$corpus/$folder" "$app/Characters/"
  trace="$work/$folder.jsonl"
  "$tool" run --platform qt --app-dir "$app" --trace "$trace" >"$work/$folder.log" 2>&1 &
  pid=$!
  wait_for 20 grep -q '"event":"messagebox"' "$trace"
  # A Return sent while the box is still being mapped or focused is lost: press it
  # again every second until the program has ended, for up to ten seconds.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    kill -0 "$pid" 2>/dev/null || break
    box=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
    [ -n "$box" ] && xdotool windowfocus "$box" key Return 2>/dev/null
    wait_for 1 bash -c "! kill -0 $pid" && break
  done
  kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
  wait "$pid"
  status=$?
  shown="$(shown_message "$trace")"
  [ "$status" -eq 0 ] && [ "$shown" = "エラー|$message" ]
  check "$folder" $? "exit code $status, shown '$shown'; $(tail -n 3 "$work/$folder.log" | tr '\n' ' ')"
done < "$corpus/expected.tsv"

echo "$failures failed of $count"
[ "$count" -ge 50 ] && [ "$failures" -eq 0 ]
