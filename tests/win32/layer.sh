#!/usr/bin/env bash
# Runs the Windows layer's own tests (win32_layer_test.exe) under Wine.
# Usage: layer.sh WIN32_BUILD_DIR PREFIX_DIR
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-session.sh"
start_session
run_wine "$WIN32_DIR/win32_layer_test.exe" || fail "win32_layer_test.exe exited with $?"
