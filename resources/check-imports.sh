#!/usr/bin/env bash
# Fails unless the executable imports only DLLs that every Windows system has.
set -euo pipefail
exe=$1
allowed='^(kernel32|user32|gdi32|advapi32|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|uxtheme|version|msvcrt)\.dll$'
dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "no imports found in $exe" >&2; exit 1; }
bad=0
while read -r dll; do
  if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
    echo "not a system DLL: $dll" >&2
    bad=1
  fi
done <<<"$dlls"
echo "imports: $(echo $dlls)"
exit $bad
