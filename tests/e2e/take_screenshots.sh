#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots/ from the real program under
# Xvfb and Openbox: the window with its frame as it opens, and after one
# click on 生成 (Generate).
# Usage: tests/e2e/take_screenshots.sh [build/bin/cmdgen]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
program=${1:-$root/build/bin/cmdgen}
out=$root/docs/screenshots
source "$here/x11_session.sh"

start_xvfb 1024 768
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
trap 'kill "$wm_pid" 2>/dev/null; x11_session_cleanup' EXIT
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do sleep 0.1; done
start_program "$program"
mkdir -p "$out"
# Let the window settle in its frame and the caret show before each picture.
sleep 1
import -frame -window "$window_id" "$out/main-window.png"
click_control 472 16 80 32  # 按钮1, 生成
sleep 0.5
import -frame -window "$window_id" "$out/after-generate.png"
xdotool windowfocus --sync "$window_id" key Escape
wait "$program_pid"
program_pid=
echo "wrote $out/main-window.png and $out/after-generate.png"
