# Sourced by the scenario hooks. run-scenario.sh exports KELP_ZARC (the native
# zarc) and KELP_PAYLOAD (the archive Setup.exe was built with).

# expand_payload ARCHIVE DIR: the archive's files into DIR.
expand_payload() {
  mkdir -p "$2"
  "$KELP_ZARC" extract "$1" -C "$2" >/dev/null || { echo "cannot expand $1" >&2; return 1; }
}

# with_payload ARCHIVE: expands ARCHIVE into $expected, a temporary directory
# removed when the script exits.
with_payload() {
  expected=$(mktemp -d)
  trap 'rm -rf "$expected"' EXIT
  expand_payload "$1" "$expected"
}

# same_as_payload EXPECTED_DIR INSTALLED_DIR FILE...: each FILE byte for byte;
# names every one that differs.
same_as_payload() {
  local expected=$1 installed=$2 f rc=0
  shift 2
  for f in "$@"; do
    cmp -s "$expected/$f" "$installed/$f" || { echo "$f differs from the payload" >&2; rc=1; }
  done
  return "$rc"
}
