# Sourced by the uninstall scenario's hooks: what a Wine prefix holds, written so
# that two snapshots compare line by line (sorted; a changed entry shows as one
# line gone and one line new).
#   prefix_snapshot OUT   writes OUT/files and OUT/registry
# Needs WINEPREFIX and KELP_LOADER (the Wine loader that runs this build).

# drive_c, one line per entry: "d PATH", "l PATH -> TARGET", "f PATH SIZE MD5".
# Symbolic links are not followed: the user's shell folders link out of the prefix.
prefix_files() {
  local root=$WINEPREFIX/drive_c
  (cd "$root" && find . -mindepth 1 -type f -print0 | xargs -0 -r md5sum) | sed 's|^\([0-9a-f]*\)  \./|\1 |' >"$1.md5"
  (cd "$root" && find . -mindepth 1 \( -type d -printf 'd %P\n' \) -o \( -type l -printf 'l %P -> %l\n' \) \
      -o \( -type f -printf 'f %P %s\n' \)) | awk -v sums="$1.md5" '
      BEGIN { while ((getline line < sums) > 0) md5[substr(line, 34)] = substr(line, 1, 32) }
      /^f / { path = substr($0, 3); sub(/ [0-9]+$/, "", path); print $0 " " md5[path]; next }
      { print }' | LC_ALL=C sort >"$1"
  rm -f "$1.md5"
}

# The whole registry as regedit exports it (HKEY_LOCAL_MACHINE and HKEY_USERS,
# so HKCU and HKCR, which are views of those, too), one line per key ("[KEY]")
# and per value ("[KEY] NAME=DATA"), continuation lines joined.
prefix_registry() {
  local reg="$1.reg"
  "$KELP_LOADER" regedit /E "Z:$(echo "$reg" | tr / '\\')" >/dev/null 2>&1
  [ -s "$reg" ] || { echo "prefix-snapshot: regedit exported nothing" >&2; return 1; }
  iconv -f UTF-16 -t UTF-8 "$reg" | tr -d '\r' | awk '
      held != "" { sub(/^ +/, ""); $0 = held $0; held = "" }
      /\\$/ && !/^\[/ { sub(/\\$/, ""); held = $0; next }
      /^\[/ { key = $0; print key; next }
      key != "" && NF { print key " " $0 }' | LC_ALL=C sort >"$1"
  rm -f "$reg"
}

prefix_snapshot() {
  mkdir -p "$1"
  prefix_files "$1/files" && prefix_registry "$1/registry"
}
