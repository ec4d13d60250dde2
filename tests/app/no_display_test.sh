#!/usr/bin/env bash
# The real program where no display can be reached: the window cannot be
# built, the report goes to the standard error stream, and the exit status
# is 255 (-1 in 8 bits).
set -uo pipefail
program=$1
err=$(mktemp)
trap 'rm -f "$err"' EXIT
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$(mktemp -d)" \
  "$program" </dev/null >/dev/null 2>"$err"
status=$?
if [ "$status" -ne 255 ]; then
  echo "exit status $status, expected 255; stderr:" >&2
  cat "$err" >&2
  exit 1
fi
expected=$'错误\n运行时出错!\n\n错误信息：载入启动窗口失败\n'
# Qt's own messages about the display come first; the report ends the output.
if [ "$(tail -n 4 "$err")" != "${expected%$'\n'}" ]; then
  echo "the report is missing from stderr:" >&2
  cat "$err" >&2
  exit 1
fi
echo "no display: exit status 255 and the report on stderr"
