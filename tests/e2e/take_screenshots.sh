#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots/ from the real program under
# Xvfb: the window as it opens, and after one click on 生成 (Generate).
# Usage: tests/e2e/take_screenshots.sh [build/bin/cmdgen]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
program=${1:-$root/build/bin/cmdgen}
out=$root/docs/screenshots
source "$here/x11_session.sh"

start_xvfb 1024 768
start_program "$program"
mkdir -p "$out"
# Let the caret settle before each picture.
sleep 0.5
import -window "$window_id" "$out/main-window.png"
click_control 472 16 80 32  # 按钮1, 生成
sleep 0.5
import -window "$window_id" "$out/after-generate.png"
xdotool windowfocus --sync "$window_id" key Escape
wait "$program_pid"
program_pid=
echo "wrote $out/main-window.png and $out/after-generate.png"
