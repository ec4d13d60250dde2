# Shared by the end-to-end tests and the screenshot script: a private Xvfb
# server on a display number it picks itself, and the real program on it.
# Sourced; sets DISPLAY, program_pid, window_id, and cleans up on exit.

# Without Xvfb there is no session to run in: the caller is skipped.
if ! command -v Xvfb >/dev/null; then
  echo "Xvfb is not installed: skipped" >&2
  exit 77
fi

# Ends a test with its reason.
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

x11_session_cleanup() {
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "${session_dir:-}" ] && rm -rf "$session_dir"
  return 0
}
trap x11_session_cleanup EXIT

# Starts Xvfb with a screen of the given size; Xvfb writes the number of the
# free display it took to the file descriptor named by -displayfd.
start_xvfb() {
  session_dir=$(mktemp -d)
  mkfifo "$session_dir/display"
  Xvfb -displayfd 3 -screen 0 "$1x$2x24" -nolisten tcp 3>"$session_dir/display" \
    >"$session_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local number
  if ! read -r -t 20 number <"$session_dir/display"; then
    echo "Xvfb did not start:" >&2
    cat "$session_dir/xvfb.log" >&2
    return 1
  fi
  export DISPLAY=":$number"
  export XDG_RUNTIME_DIR="$session_dir"
}

# Starts the program and waits until its window is mapped.
start_program() {
  "$1" </dev/null >"$session_dir/program.log" 2>&1 &
  program_pid=$!
  window_id=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarnwick——Oselmar$' | head -n 1 || true)
  if [ -z "$window_id" ]; then
    echo "the window did not appear:" >&2
    cat "$session_dir/program.log" >&2
    return 1
  fi
}

# Clicks the middle of a control, from its place in the client area.
click_control() {
  local left=$1 top=$2 width=$3 height=$4
  xdotool mousemove --window "$window_id" $((left + width / 2)) $((top + height / 2)) click 1
}
