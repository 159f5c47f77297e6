#!/usr/bin/env bash
# check-missing.sh SETUP_EXE: after the default installation (destination
# created, backup Yes, shortcuts Yes), checks what it left in the prefix: the
# files byte for byte against the payload, install.log line by line, the
# registry values and the shortcut files.
set -uo pipefail
fail=0
bad() { echo "install check: $*" >&2; fail=1; }

c=$WINEPREFIX/drive_c
dest="$c/Program Files/KelpFTP"
[ -d "$dest" ] || { bad "destination $dest missing"; exit 1; }

# The payload as built beside Setup.exe, expanded by the native zarc.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=payload-lib.sh
source "$here/payload-lib.sh"
with_payload "$KELP_PAYLOAD" || bad "cannot expand the payload"
same_as_payload "$expected" "$dest" KelpFTP.exe KelpFTP.hlp README.TXT SITES.INI whatsnew.txt || bad "files differ"
same_as_payload "$expected" "$c/windows" vezavu.exe || bad "the uninstaller is not in the Windows directory"
[ -e "$dest/vezavu.exe" ] && bad "the uninstaller was also written into the destination"
[ -d "$dest/Backup" ] || bad "no Backup directory after backup Yes"

# install.log: CR LF lines in the documented order.
log="$dest/install.log"
[ -f "$log" ] || { bad "no install.log"; exit 1; }
[ "$(tail -c 2 "$log" | od -An -c | tr -d ' ')" = '\r\n' ] || bad "install.log does not end in CR LF"
[ "$(grep -c $'\r$' "$log")" = "$(wc -l <"$log")" ] || bad "a log line lacks its CR"
D='C:\Program Files\KelpFTP\'
mapfile -t lines < <(tr -d '\r' <"$log")
want=("AppName: KelpFTP"
      "Copy: ${D}KelpFTP.exe" "Copy: ${D}KelpFTP.hlp" "Copy: ${D}README.TXT" "Copy: ${D}SITES.INI"
      "Copy: ${D}whatsnew.txt" 'RegKey: ftp\shell\open\command')
[[ ${lines[0]} == "*** Install started: "?* ]] || bad "first line: ${lines[0]}"
for i in "${!want[@]}"; do
  [ "${lines[$((i + 1))]}" = "${want[$i]}" ] || bad "log line $((i + 2)): '${lines[$((i + 1))]}' instead of '${want[$i]}'"
done
n=${#lines[@]}
[ "$n" = 15 ] || bad "install.log has $n lines, not 15"
for i in 8 9 10; do
  [[ ${lines[$i]} == "CreateFile: "*'\KelpFTP.lnk' ]] || bad "shortcut line $((i + 1)): ${lines[$i]}"
done
[ "${lines[11]}" = "CreateFile: ${D}kelpftp.ini" ] || bad "line 12: ${lines[11]}"
[ "${lines[12]}" = "CreateFile: ${D}kelpftp.log" ] || bad "line 13: ${lines[12]}"
[ "${lines[13]}" = "CreateFile: ${D}sites.ini" ] || bad "line 14: ${lines[13]}"
[[ ${lines[14]} == "*** Install Completed: "?* ]] || bad "last line: ${lines[14]}"

# Registry values, read back through the registry API.
regval() {  # KEY VALUE (empty for the default value)
  local out
  if [ -n "$2" ]; then out=$("${WINELOADER:-wine}" reg query "$1" /v "$2" 2>/dev/null); else out=$("${WINELOADER:-wine}" reg query "$1" /ve 2>/dev/null); fi
  printf '%s\n' "$out" | tr -d '\r' | awk -F'    ' '/REG_SZ/ {print $4; exit}'
}
expect_reg() {  # KEY VALUE WANT
  local got
  got=$(regval "$1" "$2")
  [ "$got" = "$3" ] || bad "registry $1 [${2:-default}]: '$got' instead of '$3'"
}
U='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\KelpFTP'
A='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\KelpFTP.exe'
expect_reg "$U" DisplayName KelpFTP
expect_reg "$U" UninstallString "\"C:\\windows\\vezavu.exe\" ${D}install.log"
expect_reg "$A" "" "${D}KelpFTP.exe"
expect_reg "$A" Path 'C:\Program Files\KelpFTP'
expect_reg 'HKCR\ftp\shell\open\command' "" "\"${D}KelpFTP.exe\" \"%1\""

# One shortcut file in each special folder, each with its log line (the driver
# has read their target, working directory and description through the shell).
for folder in Programs SendTo Desktop; do
  win=$(regval 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' "$folder")
  unix=$(WINEDEBUG=-all "${WINELOADER:-wine}" winepath -u "$win" 2>/dev/null | tr -d '\r')
  lnk="$unix/KelpFTP.lnk"
  [ -f "$lnk" ] || { bad "no shortcut in $folder ($lnk)"; continue; }
  printf '%s\n' "${lines[@]}" | grep -qxF "CreateFile: $win\\KelpFTP.lnk" || bad "no log line for the $folder shortcut"
done
[ "$fail" = 0 ] && echo "install check passed"
exit "$fail"
