#!/usr/bin/env bash
# Runs cmdgen.exe under Wine with Chinese texts in code page 936: a template
# with Chinese characters, one of which ("亄", 0x81 0x7B) has a "{" as its
# second byte, and a start list of full-width digits and signs with
# ideographic spaces, pasted from the X clipboard as a user would.
# Usage: chinese-texts.sh WIN32_BUILD_DIR PREFIX_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-session.sh"
source "$here/drive.sh"
start_session
start_cmdgen

# The "{" inside "亄" begins no placeholder, so "亄1}" stays as it is, while
# the "{2}" right after another "亄" is replaced. The full-width start list
# reads as 1124 and -3, the full-width end number as 1126.
printf '端口{1}描述亄{2}\r\n亄1}' >"$session_dir/template"
printf '１１２６' >"$session_dir/end"
probe set template "$session_dir/template" || fail "could not set the template"
probe set end "$session_dir/end" || fail "could not set the end number"

put_on_clipboard '　１１２４,　－３'
click_control start
xdotool key Home shift+End ctrl+v
expected_start=$(printf '　１１２４,　－３' | iconv -f UTF-8 -t CP936 | od -An -tx1)
wait_until eval '[ "$(probe get start | od -An -tx1)" = "$expected_start" ]' ||
  fail "pasting gave the start list bytes $(probe get start | od -An -tx1)"

click_control generate
wait_until output_is_not_empty || fail "Generate appended nothing"
blocks=$'端口1124描述亄-3\n亄1}\n端口1125描述亄-2\n亄1}\n端口1126描述亄-1\n亄1}\n'
probe get output >"$session_dir/output"
printf '%s' "$blocks" | sed 's/$/\r/' | iconv -f UTF-8 -t CP936 >"$session_dir/expected"
cmp "$session_dir/output" "$session_dir/expected" || {
  od -c "$session_dir/output" | head -20 >&2
  fail "the output box does not hold the code-page 936 bytes of the blocks"
}
copy_and_compare "$blocks"

# The system's close shortcut ends the program like Esc does.
xdotool key alt+F4
expect_exit_code 0
echo "chinese-texts: passed"
