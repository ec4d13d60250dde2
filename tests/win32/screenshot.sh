#!/usr/bin/env bash
# Takes the screenshot of cmdgen.exe for the documentation: the program in a
# Wine virtual desktop, where Wine draws the window's frame and caption bar
# itself, after one click on Generate.
# Usage: screenshot.sh WIN32_BUILD_DIR PREFIX_DIR OUTPUT.png
here=$(cd "$(dirname "$0")" && pwd)
output=$(realpath -m "$3")
source "$here/wine-session.sh"
command -v import >/dev/null || fail "ImageMagick's import is missing"
SCREEN_WIDTH=640
SCREEN_HEIGHT=520
start_session
LC_ALL=$WINE_LOCALE wine explorer /desktop=cmdgen,${SCREEN_WIDTH}x${SCREEN_HEIGHT} \
  "$WIN32_DIR/cmdgen.exe" &
desktop=$(xdotool search --sync --onlyvisible --name '^cmdgen' | head -n1)
read -r desktop_x desktop_y < <(xwininfo -id "$desktop" |
  awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
sleep 3
# The window is centred on the virtual desktop; Wine's frame is 3 pixels
# wide and its caption bar 19 pixels high, as GetClientRect tells in the
# end-to-end test. 按钮1 (Generate) is at 472,16 in the client area, 80 x 32.
outer_x=$(((SCREEN_WIDTH - 566) / 2))
outer_y=$(((SCREEN_HEIGHT - 459) / 2))
xdotool mousemove --sync $((desktop_x + outer_x + 3 + 512)) $((desktop_y + outer_y + 22 + 32)) click 1
xdotool mousemove $((desktop_x + SCREEN_WIDTH - 1)) $((desktop_y + SCREEN_HEIGHT - 1))
sleep 1
import -window root -crop "566x459+$((desktop_x + outer_x))+$((desktop_y + outer_y))" +repage "$output"
echo "screenshot: $output"
