#!/usr/bin/env bash
# check-uninstall.sh SETUP_EXE: after the default installation and its removal by
# the command the uninstall key registers, compares the prefix with the snapshot
# prepare-uninstall.sh took before Setup.exe started: once as the uninstaller left
# it, once more after a restart (a new Wine session) has carried out what it
# scheduled for then. Every difference must be one of those expected below, each
# with its reason; any other fails the scenario.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=prefix-snapshot.sh
source "$here/prefix-snapshot.sh"
snap=$KELP_UNINSTALL_SNAPSHOTS

# Expected differences. SIDE is + (only after), - (only before) or * (either).
#   exact SIDE LINE        that very line
#   under SIDE KEY         the key, its values and everything below it
#   match SIDE REGEX       lines matching the extended regular expression
# Each takes the reason as its last argument; it is printed with the line accepted.
rules=()
exact() { rules+=("exact"$'\t'"$1"$'\t'"$2"$'\t'"$3"); }
under() { rules+=("under"$'\t'"$1"$'\t'"$2"$'\t'"$3"); }
match() { rules+=("match"$'\t'"$1"$'\t'"$2"$'\t'"$3"); }

LM='HKEY_LOCAL_MACHINE'
CCS="$LM\\System\\CurrentControlSet"
# A text as an extended regular expression matching just that text.
lit() { printf '%s' "$1" | sed 's/[][\.*^$(){}+?|]/\\&/g'; }
CCS_RE=$(lit "$CCS")
HKCU_RE='HKEY_USERS\\S-1-5-21-[0-9-]+'

# Until the restart: the uninstaller, which cannot delete its own running file,
# and the entry that has Windows delete it then.
SELF_FILE_RE='^f windows/vezavu\.exe [0-9]+ [0-9a-f]{32}$'
SELF_PENDING="[$CCS\\Control\\Session Manager] \"PendingFileRenameOperations\"=hex(7):$(
  printf '\\??\\C:\\windows\\vezavu.exe\0\0\0' | iconv -t UTF-16LE | od -An -v -tx1 | tr -s ' \n' ',,' | sed 's/^,//; s/,$//')"
files_until_restart() {
  match + "$SELF_FILE_RE" "a running program cannot delete its own file: the uninstaller goes when Windows restarts"
}
registry_until_restart() {
  exact + "$SELF_PENDING" "the uninstaller's own file, deleted by Windows at the next restart"
  registry_rules
}
files_after_restart() { :; }

# What stays for good, and Wine's own session data.
registry_rules() {
  match - "^\\[$LM\\\\Software\\\\Classes\\\\ftp\\\\(shell\\\\open\\\\command|DefaultIcon)\\] @=" \
    "the installer took over the ftp protocol handler; the uninstaller never changes it, since what it was before is not recorded (its summary says so)"
  exact + "[$LM\\Software\\Classes\\ftp\\shell\\open\\command] @=\"\\\"C:\\\\Program Files\\\\KelpFTP\\\\KelpFTP.exe\\\" \\\"%1\\\"\"" \
    "the ftp protocol handler as the installer set it, left by the uninstaller"
  exact + "[$LM\\Software\\Classes\\ftp\\DefaultIcon] @=\"C:\\\\Program Files\\\\KelpFTP\\\\KelpFTP.exe,0\"" \
    "the ftp handler's icon, set by the installer where the key exists, left with the handler"

  # Wine's session state, written again whenever it starts its display driver or
  # services: none of it is the installer's or the uninstaller's.
  under '*' "$LM\\Hardware\\DEVICEMAP\\VIDEO" "video devices of the running session (volatile)"
  under '*' "$CCS\\Control\\Video" "display adapters of the running session (volatile)"
  under '*' "$CCS\\Hardware Profiles\\Current\\System\\CurrentControlSet\\Control\\Video" \
    "display modes of the running session (volatile)"
  match '*' "^\\[$CCS_RE\\\\Hardware Profiles\\\\Current\\\\System(\\\\CurrentControlSet(\\\\Control)?)?\\]$" \
    "the keys above the session's display modes"
  under '*' "$CCS\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}" \
    "the display adapter class, rewritten with the time it was written at each display start"
  under '*' "$CCS\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}" \
    "the monitor class, rewritten at each display start"
  match '*' "^\\[$CCS_RE\\\\Control\\\\DeviceClasses\\\\\\{(1CA05180-A699-450A-9A0C-DE4FBE3DDD89|5B45201D-F2F2-4F3B-85BB-30FF1F953599|E6F07B5F-EE97-4A90-B076-33F57BF4EAA7)\\}\\\\[^]]*\\\\#(\\\\Control)?\\]" \
    "the session's links to the display adapter and monitor interfaces (volatile)"
  match '*' "^\\[$CCS_RE\\\\Control\\\\ServiceCurrent\\] @=dword:" \
    "counts the starts of Wine's service manager"
  match '*' "^\\[$HKCU_RE\\\\Software\\\\Wine\\\\Temporary System Parameters(\\\\|\\])" \
    "Wine's copy of the user's system parameters for the running session"
}

fail=0
declare -A accepted=()
# check SNAPSHOT WHAT RULES: every line of WHAT (files, registry) that differs
# between before and SNAPSHOT must fit one of the rules RULES sets.
check() {
  local snapshot=$1 what=$2 side line rule kind rside text reason ok
  rules=()
  "$3"
  while IFS= read -r line; do
    side=${line:0:1} line=${line:2}
    ok=
    for rule in "${rules[@]}"; do
      IFS=$'\t' read -r kind rside text reason <<<"$rule"
      [ "$rside" = '*' ] || [ "$rside" = "$side" ] || continue
      case $kind in
        exact) [ "$line" = "$text" ] ;;
        under) [[ $line == "[$text]"* || $line == "[$text\\"* ]] ;;
        match) [[ $line =~ $text ]] ;;
      esac && { ok=$reason; break; }
    done
    if [ -n "$ok" ]; then
      # One example line for each reason, then only how many more it covered.
      ok="$snapshot: $ok"
      [ -n "${accepted[$ok]:-}" ] || echo "accepted $ok"$'\n'"  e.g. $side ${line:0:200}"
      accepted[$ok]=$((${accepted[$ok]:-0} + 1))
    else
      echo "uninstall check: unexpected difference in the $what $snapshot: $side $line" >&2
      fail=1
    fi
  done < <(LC_ALL=C comm -3 "$snap/before/$what" "$snap/$snapshot/$what" | sed 's/^\t/+ /; t; s/^/- /')
}
# As the uninstaller left the prefix, in the session it ran in.
prefix_snapshot "$snap/after" || exit 1
check after files files_until_restart
check after registry registry_until_restart
grep -Eq "$SELF_FILE_RE" "$snap/after/files" || { echo "uninstall check: vezavu.exe gone before the restart?" >&2; fail=1; }
grep -qxF "$SELF_PENDING" "$snap/after/registry" ||
  { echo "uninstall check: the uninstaller is not scheduled for removal at restart" >&2; fail=1; }

# Restarting Wine stands for restarting Windows: the session ends with the registry
# written out, and the next one's start carries out what was scheduled.
wineserver -k 2>/dev/null
wineserver -w
"$KELP_LOADER" cmd /c exit >/dev/null 2>&1
wineserver -w
prefix_snapshot "$snap/restarted" || exit 1
check restarted files files_after_restart
check restarted registry registry_rules
for reason in "${!accepted[@]}"; do
  [ "${accepted[$reason]}" -gt 1 ] && echo "accepted $((accepted[$reason] - 1)) more line(s) $reason"
done

# The Desktop is in the listing as a folder of the prefix's own (every fresh prefix
# made it one); a link out of the prefix would hide what happened in it.
for desk in "$WINEPREFIX"/drive_c/users/*/Desktop; do
  [ -d "$desk" ] && [ ! -L "$desk" ] || { echo "uninstall check: $desk is not the prefix's own" >&2; fail=1; }
done
[ "$fail" = 0 ] && echo "uninstall check passed: the prefix is as before, but for the differences accepted above"
exit "$fail"
