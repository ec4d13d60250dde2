#!/usr/bin/env bash
# Checks that the .exe needs no DLL beyond those that every Windows has: the
# C++ runtime and winpthreads are linked in statically.
# Usage: imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1
exe=$2
dlls=$("$objdump" -p "$exe" | awk '/DLL Name:/ {print toupper($3)}' | sort -u)
[ -n "$dlls" ] || { echo "FAIL: no imports found in $exe" >&2; exit 1; }
status=0
for dll in $dlls; do
  case $dll in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | MSVCRT.DLL) ;;
    *) echo "FAIL: $exe imports $dll, which is not part of Windows" >&2; status=1 ;;
  esac
done
echo "imports:" $dlls
exit $status
