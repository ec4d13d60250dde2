#!/usr/bin/env bash
# The real program under a window manager (Openbox on Xvfb): the frame that
# the manager draws counts in the outer size of 566 x 459, the frame stands
# at the centre of the screen, moving the window keeps its size, and the
# manager's close shortcut (Alt+F4) ends the program with status 0.
set -euo pipefail
program=$1
if ! command -v openbox >/dev/null; then
  echo "Openbox is not installed: skipped" >&2
  exit 77
fi
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11_session.sh"

start_xvfb 1024 768
openbox --sm-disable >"$session_dir/openbox.log" 2>&1 &
wm_pid=$!
trap 'kill "$wm_pid" 2>/dev/null; x11_session_cleanup' EXIT
# The manager announces itself on the root window once it runs.
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
for ((i = 0; i < 200; i++)); do
  wm_running && break
  sleep 0.1
done
wm_running || fail "Openbox did not start: $(cat "$session_dir/openbox.log")"
start_program "$program"

# The client area and the frame, once the manager has framed the window and
# the program has fitted itself into the outer size.
geometry() {
  local info extents
  info=$(xwininfo -id "$window_id")
  extents=$(xprop -id "$window_id" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ' ')
  IFS=, read -r left right top bottom <<<"$extents"
  x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  width=$(sed -n 's/^ *Width: *//p' <<<"$info")
  height=$(sed -n 's/^ *Height: *//p' <<<"$info")
}
for ((i = 0; i < 100; i++)); do
  geometry
  [ -n "$left" ] && [ $((width + left + right)) -eq 566 ] && [ $((height + top + bottom)) -eq 459 ] && break
  sleep 0.1
done
[ -n "$left" ] || fail "the window manager reports no frame: $(xprop -id "$window_id" _NET_FRAME_EXTENTS 2>&1)"
[ $((left + right + top + bottom)) -gt 0 ] || fail "the window manager drew no frame"
[ $((width + left + right)) -eq 566 ] || fail "outer width $((width + left + right))"
[ $((height + top + bottom)) -eq 459 ] || fail "outer height $((height + top + bottom))"
[ $((x - left)) -eq 229 ] || fail "frame x $((x - left))"
[ $((y - top)) -eq 154 ] || fail "frame y $((y - top))"

# Moving it keeps its size and its new place.
inner_width=$width
inner_height=$height
xdotool windowmove --sync "$window_id" 40 30
sleep 0.3
geometry
[ "$width" -eq "$inner_width" ] && [ "$height" -eq "$inner_height" ] || fail "moving resized the window"
[ $((x - left)) -lt 229 ] || fail "the window went back to the centre"

xdotool windowactivate --sync "$window_id" key alt+F4
status=0
timeout 10 tail --pid="$program_pid" -f /dev/null || fail "Alt+F4 did not end the program"
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "exit status $status after Alt+F4"
echo "window manager: outer size 566 x 459 with a ${left},${right},${top},${bottom} frame, centred, closed with 0"
