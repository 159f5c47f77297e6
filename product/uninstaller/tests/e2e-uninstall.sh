#!/usr/bin/env bash
# End-to-end scenarios of the uninstaller under Wine, each in a fresh prefix:
#   e2e-uninstall.sh SCENARIO VEZAVU_EXE DRIVER_EXE WORKDIR
# The prefix is given what an installation leaves (files, install.log, registry
# values, shortcuts, vezavu.exe in the Windows directory); the driver then runs
# the registered UninstallString as Windows would and answers the boxes.
# Scenarios: remove decline in-use outside-path twice no-log quoted-command no-ftp
# subfolders other-owner
set -euo pipefail
scenario=$1 vezavu=$2 driver=$3 work=$4
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../../scripts/wine-env.sh
source "$here/../../../scripts/wine-env.sh"

rm -rf "$work"; mkdir -p "$work"
wine_fresh "$work/prefix"
trap 'wineserver -k 2>/dev/null || true' EXIT
wine_display
loader=$(wine_loader)
C=$WINEPREFIX/drive_c
# Wine links the user's Desktop and document folders to $HOME, which every prefix
# (and every other test) shares: give this prefix folders of its own.
for link in "$C"/users/*/*; do
  if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
done

fail() { echo "FAIL [$scenario]: $*" >&2; exit 1; }
note() { echo "--- $*"; }
w() { "$loader" "$@" 2>/dev/null | tr -d '\r'; }
# Unix path of a C:\ path.
unix() { local p=${1#[Cc]:\\}; echo "$C/${p//\\//}"; }

# The state we compare: every path under drive_c with its size, and the registry
# files without their timestamps. Wine's own bookkeeping is left out.
snapshot() {
  stop_wine
  files_listing "$1"
  for hive in system user; do
    sed -e '/^#time=/d' -e 's/^\(\[.*\]\) [0-9]*$/\1/' "$WINEPREFIX/$hive.reg" | flatten_reg > "$work/$1.$hive.reg"
  done
}

# One line per value, "[key] value", backslashes undoubled; Wine's own and the
# hardware keys (rewritten at every start) left out.
flatten_reg() {
  sed 's/\\\\/\\/g' | awk '
    function volatile(k) {
      return index(k, "Software\\Wine\\") || index(k, "CurrentControlSet\\Control\\Class") ||
             index(k, "CurrentControlSet\\Control\\Video") || index(k, "CurrentControlSet\\Control\\DeviceClasses") ||
             index(k, "CurrentControlSet\\Enum") || index(k, "CurrentControlSet\\Services") ||
             index(k, "HARDWARE\\") || index(k, "[Hardware\\") || index(k, "DynData") || index(k, "PerfData")
    }
    /^\[/ { key = $0; skip = volatile(key); if (!skip) print key; next }
    skip || /^$/ || /^;/ || /^WINE REGISTRY/ || /^Windows Registry/ || /^#/ { next }
    { line = line $0; if (line ~ /\\$/) { sub(/\\$/, "", line); next } print key " " line; line = "" }'
}

files_listing() {
  (cd "$C" && { find . -path ./windows/temp -prune -o -path './users/*/AppData/Local/Temp' -prune -o \
      -type d -printf 'd %p\n' -o -printf '%y %s %p\n' 2>/dev/null || true; } | sort) > "$work/$1.files"
}

# The same while Wine keeps running (stopping it would be a restart, which carries
# out the removals scheduled for then): the registry through "reg export".
live_snapshot() {
  files_listing "$1"
  w reg export HKLM "C:\\windows\\temp\\$1.system.reg" /y >/dev/null
  w reg export HKCU "C:\\windows\\temp\\$1.user.reg" /y >/dev/null
  for hive in system user; do
    iconv -f UTF-16LE -t UTF-8 "$C/windows/temp/$1.$hive.reg" | tr -d '\r' | flatten_reg > "$work/$1.$hive.reg"
  done
}

# Ends the session with the registry written out, but without a restart: the
# removals scheduled for then stay pending.
stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w
}

# A session that only ends when we end it: a Wine that starts anew counts as a
# restart, and carries out the removals scheduled for then.
keep_wine_up() {
  stop_wine
  wineserver -p600
}

# Restarting Wine stands for restarting Windows.
restart_windows() {
  stop_wine
  w cmd /c exit >/dev/null || true
  wineserver -w
}

# Differences between two snapshots, as "<" and ">" lines, for the checks below.
changes() {
  { diff "$work/$1.files" "$work/$2.files" || true
    diff "$work/$1.system.reg" "$work/$2.system.reg" || true
    diff "$work/$1.user.reg" "$work/$2.user.reg" || true; } | grep '^[<>]' || true
}

reg32() { w reg query "$@" /reg:32; }
shell_folder() {
  w reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' /v "$1" |
    sed -n "s/^ *$1 *REG_SZ *//p"
}

DEST='C:\Program Files (x86)\KelpFTP'
LOG="$DEST\\install.log"
EXE="$DEST\\KelpFTP.exe"
UNINST='Software\Microsoft\Windows\CurrentVersion\Uninstall\KelpFTP'
APPPATHS='Software\Microsoft\Windows\CurrentVersion\App Paths\KelpFTP.exe'
FTPCMD='HKCR\ftp\shell\open\command'
PROGRAMS=$(shell_folder Programs); SENDTO=$(shell_folder SendTo); DESKTOP=$(shell_folder Desktop)
[ -n "$PROGRAMS" ] && [ -n "$SENDTO" ] && [ -n "$DESKTOP" ] || fail "no Shell Folders in the prefix"

# What the installer leaves: files, the log (CR LF), registry values, shortcuts.
# Variants: $ENTRIES (archive entry names, with subfolders), $PROGRAMS_LINK_DIR (the
# Programs shortcut's folder), $QUOTED_COMMAND (the uninstaller's path in quotes).
ENTRIES=${ENTRIES:-KelpFTP.exe KelpFTP.hlp README.TXT SITES.INI whatsnew.txt}
simulate_install() {
  local d f; d=$(unix "$DEST"); mkdir -p "$d"
  for f in $ENTRIES; do mkdir -p "$(dirname "$d/${f//\\//}")"; echo "KelpFTP $f" > "$d/${f//\\//}"; done
  cp "$driver" "$d/KelpFTP.exe"
  echo "[Options]" > "$d/kelpftp.ini"   # written later by the program itself
  cp "$vezavu" "$C/windows/vezavu.exe"
  PROGRAMS_LINK_DIR=${PROGRAMS_LINK_DIR:-$PROGRAMS}
  for folder in "$PROGRAMS_LINK_DIR" "$SENDTO" "$DESKTOP"; do
    mkdir -p "$(unix "$folder")"; echo "shortcut" > "$(unix "$folder\\KelpFTP.lnk")"
  done
  {
    printf '*** Install started: 12/11/2026 11:02:03\r\n'
    printf 'AppName: KelpFTP\r\n'
    for f in $ENTRIES; do printf 'Copy: %s\\%s\r\n' "$DEST" "$f"; done
    printf 'RegKey: ftp\\shell\\open\\command\r\n'
    for folder in "$PROGRAMS_LINK_DIR" "$SENDTO" "$DESKTOP"; do printf 'CreateFile: %s\\KelpFTP.lnk\r\n' "$folder"; done
    for f in kelpftp.ini kelpftp.log sites.ini; do printf 'CreateFile: %s\\%s\r\n' "$DEST" "$f"; done
    printf '*** Install Completed: 12/11/2026 11:02:05\r\n'
  } > "$d/install.log"
  w reg add "HKLM\\$UNINST" /v DisplayName /t REG_SZ /d KelpFTP /f /reg:32 >/dev/null
  if [ -n "${QUOTED_COMMAND:-}" ]; then
    w reg add "HKLM\\$UNINST" /v UninstallString /t REG_SZ /d "\"C:\\windows\\vezavu.exe\" $LOG" /f /reg:32 >/dev/null
  else
    w reg add "HKLM\\$UNINST" /v UninstallString /t REG_SZ /d "C:\\windows\\vezavu.exe $LOG" /f /reg:32 >/dev/null
  fi
  w reg add "HKLM\\$APPPATHS" /ve /t REG_SZ /d "$EXE" /f /reg:32 >/dev/null
  w reg add "HKLM\\$APPPATHS" /v Path /t REG_SZ /d "$DEST" /f /reg:32 >/dev/null
  # The protocol key exists already; the installer only replaces its value.
  if w reg query "$FTPCMD" >/dev/null 2>&1; then w reg add "$FTPCMD" /ve /t REG_SZ /d "$EXE %1" /f >/dev/null; fi
  reg32 "HKLM\\$UNINST" | grep -q "UninstallString" || fail "simulation: uninstall key not written"
}

# Runs the registered uninstall command through the driver; output in $work/$1.out.
run_uninstaller() {
  local name=$1; shift
  "$loader" "$driver" "$@" > "$work/$name.out" 2> "$work/$name.err" || true
  tr -d '\r' < "$work/$name.out" > "$work/$name.txt"
  note "$name"; cat "$work/$name.txt"
  grep -q '^exit: ' "$work/$name.txt" || fail "the driver did not see the uninstaller end"
}

exit_code() { sed -n 's/^exit: //p' "$work/$1.txt"; }
box_said() { grep -qF -- "$2" "$work/$1.txt" || fail "$1: no box says: $2"; }
gone() { [ ! -e "$(unix "$1")" ] || fail "still there: $1"; }
there() { [ -e "$(unix "$1")" ] || fail "missing: $1"; }
no_key() { ! reg32 "$1" >/dev/null 2>&1 || fail "key still there: $1"; }
ftp_command() { w reg query "$FTPCMD" /ve | sed -n 's/^ *(Default) *REG_SZ *//p'; }

# The only differences allowed between the state before the installation and after
# the uninstallation and a restart: the ftp handler the installation took over,
# plus what a scenario names in $extra_allowed (a regular expression).
check_rest_unchanged() {
  changes before after > "$work/changes.txt"
  # The ftp handler (key line and its default value); the parent keys the installation's
  # own key creation made (they exist on Windows anyway) and the blank line after them.
  local allowed='^[<>] \[Software\\Classes\\ftp\\shell\\open\\command\] @=|^> \[Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\(Uninstall|App Paths)\]$'
  [ -n "${extra_allowed:-}" ] && allowed="$allowed|$extra_allowed"
  if grep -Ev "$allowed" "$work/changes.txt" > "$work/unexpected.txt"; then
    cat "$work/unexpected.txt" >&2
    fail "the uninstallation left other changes"
  fi
}

# The paths scheduled for removal at restart, one a line.
pending() {
  w reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations |
    sed -n 's/^ *PendingFileRenameOperations *REG_MULTI_SZ *//p' | sed 's/\\0/\n/g'
}

case "$scenario" in
  subfolders) ENTRIES='KelpFTP.exe README.TXT docs\KelpFTP.hlp docs\img\logo.bmp'; PROGRAMS_LINK_DIR="$PROGRAMS\KelpFTP" ;;
  quoted-command) QUOTED_COMMAND=1 ;;
  no-ftp) w reg delete 'HKCR\ftp' /f >/dev/null ;;
esac
snapshot before
simulate_install
snapshot installed
command=$(reg32 "HKLM\\$UNINST" | sed -n 's/^ *UninstallString *REG_SZ *//p')
if [ -n "${QUOTED_COMMAND:-}" ]; then
  [ "$command" = "\"C:\\windows\\vezavu.exe\" $LOG" ] || fail "registered command: $command"
else
  [ "$command" = "C:\\windows\\vezavu.exe $LOG" ] || fail "registered command: $command"
fi
keep_wine_up

case "$scenario" in
remove)
  mkdir -p "$work/shots"
  run_uninstaller run --shots "$(w winepath -w "$work/shots")" --key KelpFTP
  box_said run "Are you sure you want to remove KelpFTP and all of its components?"
  box_said run "KelpFTP was removed from your computer."
  box_said run "ftp protocol handler still starts the removed program"
  [ "$(exit_code run)" = 0 ] || fail "exit code $(exit_code run)"
  for b in "$work"/shots/*.bmp; do convert "$b" "${b%.bmp}.png" 2>/dev/null && rm -f "$b" || true; done
  for f in KelpFTP.exe KelpFTP.hlp README.TXT SITES.INI whatsnew.txt kelpftp.ini install.log; do gone "$DEST\\$f"; done
  gone "$DEST"
  for folder in "$PROGRAMS" "$SENDTO" "$DESKTOP"; do gone "$folder\\KelpFTP.lnk"; there "$folder"; done
  no_key "HKLM\\$UNINST"; no_key "HKLM\\$APPPATHS"
  [ "$(ftp_command)" = "$EXE %1" ] || fail "the ftp handler changed: $(ftp_command)"
  # The running uninstaller cannot delete itself: it goes at restart.
  there 'C:\windows\vezavu.exe'
  pending | grep -qiF 'windows\vezavu.exe' || fail "vezavu.exe not scheduled at restart"
  restart_windows
  gone 'C:\windows\vezavu.exe'
  snapshot after
  grep -q PendingFileRenameOperations "$work/after.system.reg" && fail "removals still pending after the restart"
  check_rest_unchanged
  ;;
decline)
  run_uninstaller run --answer no --key KelpFTP
  box_said run "Are you sure you want to remove KelpFTP and all of its components?"
  [ "$(exit_code run)" = 2 ] || fail "exit code $(exit_code run)"
  [ "$(grep -c '^box: ' "$work/run.txt")" = 1 ] || fail "a box after No"
  snapshot after
  [ -z "$(changes installed after)" ] || { changes installed after >&2; fail "No changed something"; }
  ;;
in-use)
  run_uninstaller run --hold "$DEST\\KelpFTP.hlp" --key KelpFTP
  box_said run "KelpFTP was removed, but not completely."
  box_said run "In use, removed when Windows restarts:"
  box_said run "$DEST\\KelpFTP.hlp"
  [ "$(exit_code run)" = 3 ] || fail "exit code $(exit_code run)"
  there "$DEST\\KelpFTP.hlp"
  gone "$DEST\\KelpFTP.exe"; gone "$DEST\\install.log"
  no_key "HKLM\\$UNINST"; no_key "HKLM\\$APPPATHS"
  pending | grep -qiF "$DEST\\KelpFTP.hlp" || fail "KelpFTP.hlp not scheduled at restart"
  # After the restart the file, and the folder it kept, are gone too.
  restart_windows
  gone "$DEST"
  snapshot after
  check_rest_unchanged
  ;;
outside-path)
  # A log edited to name system files, plainly and by climbing out of the destination.
  d=$(unix "$DEST")
  printf 'CreateFile: C:\\windows\\system32\\kernel32.dll\r\nCopy: %s\\..\\..\\windows\\system32\\user32.dll\r\n' "$DEST" >> "$d/install.log"
  ls -l "$C/windows/system32/kernel32.dll" "$C/windows/system32/user32.dll" > "$work/system-files.before"
  run_uninstaller run --key KelpFTP
  box_said run "KelpFTP was removed, but not completely."
  box_said run "C:\\windows\\system32\\kernel32.dll (it lies in the Windows directory)"
  box_said run "$DEST\\..\\..\\windows\\system32\\user32.dll (it lies in the Windows directory)"
  [ "$(exit_code run)" = 3 ] || fail "exit code $(exit_code run)"
  ls -l "$C/windows/system32/kernel32.dll" "$C/windows/system32/user32.dll" > "$work/system-files.after"
  cmp -s "$work/system-files.before" "$work/system-files.after" || fail "system files touched"
  gone "$DEST"
  restart_windows
  snapshot after
  check_rest_unchanged
  ;;
twice)
  # Both runs in one Windows session (no restart in between), compared live.
  run_uninstaller first --command "$command"
  [ "$(exit_code first)" = 0 ] || fail "first exit code $(exit_code first)"
  live_snapshot between
  run_uninstaller second --command "$command"
  [ "$(exit_code second)" = 1 ] || fail "second exit code $(exit_code second)"
  box_said second "The installation log \"$LOG\" cannot be read:"
  box_said second "Nothing was removed."
  grep -q '^box: Confirm' "$work/second.txt" && fail "the second run asked to remove"
  live_snapshot after
  [ -z "$(changes between after)" ] || { changes between after >&2; fail "the second run changed something"; }
  ;;
quoted-command|no-ftp)
  run_uninstaller run --key KelpFTP
  [ "$(exit_code run)" = 0 ] || fail "exit code $(exit_code run)"
  box_said run "KelpFTP was removed from your computer."
  if [ "$scenario" = no-ftp ]; then
    grep -q 'ftp protocol handler' "$work/run.txt" && fail "speaks of an ftp handler there is none of"
  fi
  gone "$DEST"; no_key "HKLM\\$UNINST"; no_key "HKLM\\$APPPATHS"
  restart_windows
  snapshot after
  check_rest_unchanged
  ;;
subfolders)
  # Entries in subfolders, the Programs shortcut in a folder of its own, read-only
  # files, and a file the user put in the destination.
  chmod a-w "$(unix "$DEST\\README.TXT")" "$(unix "$DEST\\docs\\img\\logo.bmp")"
  echo "my notes" > "$(unix "$DEST\\notes.txt")"
  run_uninstaller run --key KelpFTP
  [ "$(exit_code run)" = 3 ] || fail "exit code $(exit_code run)"
  box_said run "$DEST (it still holds files the installation did not make)"
  for f in KelpFTP.exe README.TXT 'docs\KelpFTP.hlp' 'docs\img\logo.bmp' install.log; do gone "$DEST\\$f"; done
  gone "$DEST\\docs"
  [ "$(cat "$(unix "$DEST\\notes.txt")")" = "my notes" ] || fail "the user's file changed"
  gone "$PROGRAMS\\KelpFTP"; there "$PROGRAMS"
  restart_windows
  snapshot after
  extra_allowed='notes\.txt|Program Files \(x86\)/KelpFTP$'
  check_rest_unchanged
  ;;
other-owner)
  # A later installation into another folder took over both keys: they stay.
  w reg add "HKLM\\$UNINST" /v UninstallString /t REG_SZ /d 'C:\windows\vezavu.exe D:\Kelp\install.log' /f /reg:32 >/dev/null
  w reg add "HKLM\\$APPPATHS" /ve /t REG_SZ /d 'D:\Kelp\KelpFTP.exe' /f /reg:32 >/dev/null
  run_uninstaller run --command "$command"
  [ "$(exit_code run)" = 3 ] || fail "exit code $(exit_code run)"
  box_said run "$UNINST (it belongs to another installation of the program)"
  box_said run "$APPPATHS (it names the program of another installation)"
  grep -q 'ftp protocol handler' "$work/run.txt" || fail "the ftp handler is not mentioned"
  gone "$DEST"
  reg32 "HKLM\\$UNINST" | grep -qF 'D:\Kelp\install.log' || fail "the other installation's key went"
  reg32 "HKLM\\$APPPATHS" | grep -qF 'D:\Kelp\KelpFTP.exe' || fail "the other installation's program key went"
  ;;
no-log)
  run_uninstaller run --command 'C:\windows\vezavu.exe'
  [ "$(exit_code run)" = 1 ] || fail "exit code $(exit_code run)"
  box_said run "No installation log was given."
  snapshot after
  [ -z "$(changes installed after)" ] || { changes installed after >&2; fail "changed something"; }
  ;;
*) echo "unknown scenario $scenario" >&2; exit 2 ;;
esac
echo "PASS [$scenario]"
