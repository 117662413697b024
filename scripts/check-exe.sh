#!/usr/bin/env bash
# Checks what a PC needs of the two executables: a GUI program (no console window) that imports
# only system DLLs (the C++ runtime linked in), and carries its icon, version and manifest.
# Prints "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@" >/dev/null 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "check-exe: FAILED: $what" >&2
  fi
}

for arch in i686 x86_64; do
  exe=build/$arch/stampctl.exe
  objdump=$arch-w64-mingw32-objdump
  headers=$("$objdump" -p "$exe" 2>/dev/null)
  dlls=$(grep 'DLL Name' <<<"$headers" | awk '{print tolower($3)}')
  check "$arch: GUI subsystem" grep -q 'Subsystem.*Windows GUI' <<<"$headers"
  check "$arch: only system DLLs ($(tr '\n' ' ' <<<"$dlls"))" \
    bash -c '! grep -qvE "^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|user32)\.dll$" <<<"$1"' _ "$dlls"
  check "$arch: version 1.11" bash -c 'strings -el "$1" | grep -qx "1\.11"' _ "$exe"
  check "$arch: common controls 6 manifest" grep -q 'Microsoft.Windows.Common-Controls' "$exe"
  check "$arch: 32x32 16-colour icon" bash -c \
    'python3 - "$1" <<"PY"
import sys
data = open(sys.argv[1], "rb").read()
# The icon image as resources hold it: a BITMAPINFOHEADER of 32 x 64 (with the mask), 4 bits.
sys.exit(0 if bytes.fromhex("28000000200000004000000001000400") in data else 1)
PY' _ "$exe"
done

echo "check-exe: $passed passed, $failed failed"
((failed == 0))
