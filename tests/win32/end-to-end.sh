#!/usr/bin/env bash
# Runs the real cmdgen.exe under Wine and drives it as a user would, through
# the X server: its window, the keyboard focus, Generate, Copy, Clear and Esc.
# Usage: end-to-end.sh WIN32_BUILD_DIR PREFIX_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-session.sh"
source "$here/drive.sh"
start_session
start_cmdgen

# The window: 566 x 459 outside, centred on the 1024 x 768 display.
read -r _ outer_x outer_y outer_w outer_h < <(sed -n 1p <<<"$geometry")
expect_equal "outer rectangle" "$outer_x $outer_y $outer_w $outer_h" \
  "$(((SCREEN_WIDTH - 566) / 2)) $(((SCREEN_HEIGHT - 459) / 2)) 566 459"
[ "$client_w" -ge 552 ] && [ "$client_h" -ge 408 ] ||
  fail "client area $client_w x $client_h is smaller than 552 x 408"
# With no window manager Wine draws no frame: the X window is the client area.
x_geometry=$(xwininfo -id "$x_window" |
  awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
       /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}')
expect_equal "X window" "$x_geometry" "$client_x $client_y $client_w $client_h"

# The caption, as Wine hands it to X and as the program holds it (code page 936).
expect_equal "X caption" "$(xprop -id "$x_window" -notype _NET_WM_NAME)" \
  '_NET_WM_NAME = "Tarnwick——Oselmar"'
expect_equal "caption bytes" "$(probe caption | od -An -tx1 | tr -s ' \n' ' ')" \
  "$(printf 'Tarnwick——Oselmar' | iconv -f UTF-8 -t CP936 | od -An -tx1 | tr -s ' \n' ' ')"

# The focus starts in the template; Tab and Shift+Tab follow the tab order.
expect_equal "focus at start" "$(probe focus)" template
for next in output generate start end copy clear template; do
  xdotool key Tab
  wait_until focus_is "$next" || fail "Tab did not move the focus to $next: $(probe focus)"
done
xdotool key shift+Tab
wait_until focus_is clear || fail "Shift+Tab from the template went to $(probe focus)"

# Enter in a one-line box or on a button changes nothing and clicks nothing;
# Space on the focused Generate button runs it.
click_control start
xdotool key Return
sleep 0.5
expect_equal "start list after Enter" "$(probe get start)" "1124,1"
xdotool key shift+Tab
wait_until focus_is generate || fail "Shift+Tab from the start list went to $(probe focus)"
xdotool key Return
sleep 0.5
expect_equal "output after Enter" "$(probe get output)" ""

# Generate, then Copy: the 23 blocks, in the box with "\r\n" line ends and on
# the X clipboard, converted by Wine to UTF-8 with "\n".
blocks=$(for step in $(seq 0 22); do
  printf 'vlan %d\nport Ethernet0/0/%d\nquit\n' $((1124 + step)) $((1 + step))
done)
blocks+=$'\n'
xdotool key space
wait_until output_is_not_empty || fail "Space on Generate appended nothing"
probe get output >"$session_dir/output"
printf '%s' "$blocks" | sed 's/$/\r/' >"$session_dir/expected"
cmp "$session_dir/output" "$session_dir/expected" || fail "the output box does not hold the 23 blocks"
copy_and_compare "$blocks"

# Typed keys reach the boxes: the end number becomes 1130, and a click on
# Generate appends blocks 1124 to 1130 behind the first run.
click_control end
xdotool key End BackSpace BackSpace type 30
wait_until box_is end 1130 || fail "typing gave the end number $(probe get end)"
click_control generate
more=$(for step in $(seq 0 6); do
  printf 'vlan %d\nport Ethernet0/0/%d\nquit\n' $((1124 + step)) $((1 + step))
done)
copy_and_compare "$blocks$more"$'\n'

# Clear, then Copy: the clipboard holds the empty text.
click_control clear
wait_until box_is output "" || fail "Clear left text in the output box"
copy_and_compare ""

# Esc closes the window from whichever control has the focus; exit code 0.
click_control output
xdotool key Escape
expect_exit_code 0
echo "end-to-end: passed"
