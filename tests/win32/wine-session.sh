# Sourced by the Wine tests: a private X server and Wine prefix in which the
# cross-compiled programs run with the Chinese ANSI code page (936).
#
#   source wine-session.sh WIN32_BUILD_DIR PREFIX_DIR
#   start_session        starts Xvfb and makes sure the prefix is ready
#   run_wine PROGRAM...  runs a Windows program (stdout and exit code pass)
#
# The session ends by itself when the script exits. A machine on which Wine
# cannot start at all makes the test exit with 77, which CTest reads as a skip.

set -euo pipefail

WIN32_DIR=$(realpath -m "$1")
WINE_PREFIX_DIR=$(realpath -m "$2")
SKIP=77
SCREEN_WIDTH=1024
SCREEN_HEIGHT=768

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

for tool in wine wineboot wineserver Xvfb xdotool xclip xwininfo xprop iconv flock; do
  command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/install-deps (scripts/deps/win32.txt)"
done

export WINEPREFIX=$WINE_PREFIX_DIR
export WINEDEBUG=-all
# No Mono or Gecko: the prefix is set up without asking to download them.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The locale only for Wine: it need not be generated on this machine, and
# it gives the ANSI code page 936, which LANG alone would not.
WINE_LOCALE=zh_CN.UTF-8

session_dir=$(mktemp -d "${TMPDIR:-/tmp}/cmdgen-wine.XXXXXX")
xvfb_pid=

end_session() {
  local status=$?
  # Ends the Wine processes of this prefix, then the X server it started.
  if [ -n "$xvfb_pid" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$session_dir"
  exit "$status"
}
trap end_session EXIT

run_wine() {
  LC_ALL=$WINE_LOCALE wine "$@"
}

start_session() {
  Xvfb -displayfd 3 -screen 0 "${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24" -nolisten tcp \
    3>"$session_dir/display" >"$session_dir/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local i
  for i in $(seq 100); do
    [ -s "$session_dir/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$session_dir/xvfb.log")"
    sleep 0.1
  done
  [ -s "$session_dir/display" ] || fail "Xvfb gave no display number"
  export DISPLAY=":$(head -n1 "$session_dir/display")"

  # One prefix per build directory, made once (about half a minute) and kept.
  mkdir -p "$(dirname "$WINEPREFIX")"
  local status=0
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.cmdgen-ready" ]; then
      rm -rf "$WINEPREFIX"
      if ! LC_ALL=$WINE_LOCALE wineboot -i >"$session_dir/wineboot.log" 2>&1 ||
        ! wineserver -w; then
        echo "SKIP: Wine cannot start on this machine:" >&2
        cat "$session_dir/wineboot.log" >&2
        exit "$SKIP"
      fi
      touch "$WINEPREFIX/.cmdgen-ready"
    fi
  ) 9>"$WINEPREFIX.lock" || status=$?
  [ "$status" -eq 0 ] || exit "$status"
}

# Waits up to 20 seconds for the command to succeed.
wait_until() {
  local i
  for i in $(seq 200); do
    if "$@"; then return 0; fi
    sleep 0.1
  done
  return 1
}
