#!/usr/bin/env bash
# The real program under Xvfb: its window's place, size and icons, the focus
# in the template box at start, Tab and typing, Generate and Copy clicked
# with a real input tool, the clipboard read by another program, a runaway
# end number held back by its box, and Esc ending the program with status 0.
# Usage: e2e_test.sh PROGRAM [--icon]; --icon when the program has its icon.
set -euo pipefail
program=$1
with_icon=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/x11_session.sh"

start_xvfb 1024 768
start_program "$program"

# Bare Xvfb has no window manager, so no frame: the client area is the
# whole outer size, at ((1024 - 566) / 2, (768 - 459) / 2).
info=$(xwininfo -id "$window_id")
field() { sed -n "s/^ *$1: *//p" <<<"$info"; }
[ "$(field 'Absolute upper-left X')" = 229 ] || fail "x is $(field 'Absolute upper-left X')"
[ "$(field 'Absolute upper-left Y')" = 154 ] || fail "y is $(field 'Absolute upper-left Y')"
[ "$(field Width)" = 566 ] || fail "width is $(field Width)"
[ "$(field Height)" = 459 ] || fail "height is $(field Height)"

if [ "$with_icon" = --icon ]; then
  icons=$(xprop -id "$window_id" _NET_WM_ICON | grep -a -o 'Icon ([0-9]* x [0-9]*)' | sort | tr '\n' ' ')
  [ "$icons" = "Icon (16 x 16) Icon (32 x 32) " ] || fail "the window's icons are: $icons"
fi

# The focus starts in 编辑框1, so one Tab takes it to the output box, where
# the typed text stays in front of the blocks.
xdotool windowfocus --sync "$window_id" key Tab type typed

expected="$session_dir/expected"
printf typed >"$expected"
for ((i = 0; i < 23; i++)); do
  printf 'vlan %d\r\nport Ethernet0/0/%d\r\nquit\r\n' $((1124 + i)) $((1 + i)) >>"$expected"
done

# Waits until another program reads exactly the expected bytes.
clipboard_holds() {
  local deadline=$((SECONDS + 10))
  while ((SECONDS < deadline)); do
    if xclip -o -selection clipboard >"$session_dir/clipboard" 2>/dev/null &&
      cmp -s "$session_dir/clipboard" "$1"; then
      return 0
    fi
    sleep 0.1
  done
  echo "the clipboard holds:" >&2
  od -c "$session_dir/clipboard" | head -n 20 >&2
  return 1
}

click_control 472 16 80 32   # 按钮1, 生成
click_control 448 328 80 32  # 按钮2, 复制到剪辑板
clipboard_holds "$expected" || fail "the clipboard does not hold the typed text and the 23 blocks"

click_control 448 376 80 32  # 按钮3, 清除内容
click_control 448 328 80 32
: >"$session_dir/empty"
clipboard_holds "$session_dir/empty" || fail "the clipboard is not empty after Clear and Copy"

# A slip of the finger: four zeros too many in the end number. Generate first
# asks, or refuses where this machine cannot hold the output; Enter takes
# the default, No, and the output box stays as it was, the program running.
click_control 384 40 80 20  # 编辑框_终止数
xdotool key ctrl+a type 11460000
click_control 472 16 80 32
box_id=$(timeout 20 xdotool search --sync --onlyvisible --name '^(确认|提示)$' | head -n 1 || true)
[ -n "$box_id" ] || fail "no question or notice came before a run of 11 million blocks"
xdotool windowfocus --sync "$box_id" key Return
timeout 10 bash -c "while xdotool search --onlyvisible --name '^(确认|提示)$' >/dev/null; do sleep 0.1; done" ||
  fail "Enter did not close the box"
click_control 448 328 80 32
clipboard_holds "$session_dir/empty" || fail "the output box changed after a run that did not go ahead"

xdotool windowfocus --sync "$window_id" key Escape
status=0
timeout 10 tail --pid="$program_pid" -f /dev/null || fail "Esc did not end the program"
wait "$program_pid" || status=$?
program_pid=
if [ "$status" -ne 0 ]; then
  cat "$session_dir/program.log" >&2
  fail "exit status $status after Esc"
fi
echo "e2e: window placed and sized, typed text and 23 blocks on the clipboard, a runaway run held back, Esc ended with 0"
