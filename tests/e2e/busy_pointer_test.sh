#!/usr/bin/env bash
# The real program under Xvfb: while a long Generate runs, the X server shows
# the wait cursor over the window, put there before the work begins, and the
# pointer comes back once the run has ended.
# Usage: busy_pointer_test.sh PROGRAM CURSOR_WATCH
set -euo pipefail
program=$1
watch=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11_session.sh"

start_xvfb 1024 768
start_program "$program"

# 100,001 blocks, most of a second of work: long enough for the busy pointer,
# short of the question.
click_control 384 40 80 20  # 编辑框_终止数
xdotool key ctrl+a type 101124
xdotool mousemove --window "$window_id" 500 30
"$watch" 30 >"$session_dir/cursors" &
watch_pid=$!
sleep 0.3
click_control 472 16 80 32  # 按钮1, 生成
status=0
wait "$watch_pid" || status=$?
cursors=$(tr '\n' ' ' <"$session_dir/cursors")
[ "$status" -eq 0 ] || fail "no wait cursor that came and went; the pointer showed: $cursors"
# Shown only after the work, the wait cursor would go at once, if it came.
busy=$(sed -n 's/^busy //p' "$session_dir/cursors")
[ "$busy" -ge 200 ] || fail "the wait cursor lasted only $busy ms of a run of most of a second: $cursors"
echo "busy pointer: the cursors over the window were: $cursors"
