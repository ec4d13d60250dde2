# Sourced after wine-session.sh: starts cmdgen.exe and drives it through X.

cmdgen_pid=
geometry=

probe() {
  run_wine "$WIN32_DIR/cmdgen_probe.exe" "$@"
}

expect_equal() {
  [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"
}

# The controls' places in the client area (left top width height), from the
# layout table.
declare -A control_rect=(
  [template]="96 8 216 56" [output]="0 64 408 344" [start]="384 8 80 20" [end]="384 40 80 20"
  [generate]="472 16 80 32" [copy]="448 328 80 32" [clear]="448 376 80 32"
)

start_cmdgen() {
  run_wine "$WIN32_DIR/cmdgen.exe" &
  cmdgen_pid=$!
  geometry=$(probe wait) || fail "cmdgen.exe showed no window"
  read -r _ client_x client_y client_w client_h < <(sed -n 2p <<<"$geometry")
  x_window=$(wait_until_output xdotool search --onlyvisible --name 'Oselmar') ||
    fail "no X window for cmdgen.exe"
  x_window=$(head -n1 <<<"$x_window")
}

wait_until_output() {
  local i out
  for i in $(seq 200); do
    if out=$("$@" 2>/dev/null) && [ -n "$out" ]; then
      printf '%s\n' "$out"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

click_control() {
  local left top width height
  read -r left top width height <<<"${control_rect[$1]}"
  xdotool mousemove --sync $((client_x + left + width / 2)) $((client_y + top + height / 2)) \
    click 1
}

focus_is() { [ "$(probe focus)" = "$1" ]; }
box_is() { [ "$(probe get "$1")" = "$2" ]; }
output_is_not_empty() { [ -n "$(probe get output)" ]; }

read_clipboard() {
  xclip -o -selection clipboard -t UTF8_STRING 2>/dev/null
}

clipboard_is() {
  local text
  text=$(read_clipboard; printf x)
  [ "${text%x}" = "$1" ]
}

# Whether the program's clipboard holds these bytes as CF_TEXT.
windows_clipboard_is() {
  cmp -s <(probe clipboard) "$1"
}

# Puts UTF-8 text on the X clipboard and waits until Wine has taken it over
# as the Windows clipboard's CF_TEXT, in code page 936.
put_on_clipboard() {
  printf '%s' "$1" | xclip -i -selection clipboard
  printf '%s' "$1" | iconv -f UTF-8 -t CP936 >"$session_dir/pasted"
  wait_until windows_clipboard_is "$session_dir/pasted" ||
    fail "Wine did not take over the X clipboard"
}

# Clicks Copy and compares the clipboard, byte for byte, with the UTF-8 text
# whose lines end in "\n": as CF_TEXT on the Windows side (code page 936,
# "\r\n") and as UTF8_STRING on the X side. The text must differ from what
# the clipboard held before, so that a Copy that did nothing cannot pass.
copy_and_compare() {
  printf '%s' "$1" | sed 's/$/\r/' | iconv -f UTF-8 -t CP936 >"$session_dir/copied"
  click_control copy
  wait_until windows_clipboard_is "$session_dir/copied" || {
    probe clipboard | od -c | head -10 >&2
    fail "the program's clipboard does not hold the expected CF_TEXT"
  }
  wait_until clipboard_is "$1" || {
    read_clipboard >"$session_dir/clipboard"
    printf '%s' "$1" >"$session_dir/clipboard.expected"
    diff "$session_dir/clipboard.expected" "$session_dir/clipboard" | head -20 >&2
    fail "the X clipboard does not hold the expected text"
  }
}

cmdgen_has_ended() { ! kill -0 "$cmdgen_pid" 2>/dev/null; }

expect_exit_code() {
  local status=0
  wait_until cmdgen_has_ended || fail "cmdgen.exe is still running"
  wait "$cmdgen_pid" || status=$?
  cmdgen_pid=
  expect_equal "exit code of cmdgen.exe" "$status" "$1"
}
