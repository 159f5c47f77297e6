# Sourced by the prepare scripts of the installation scenarios (cwd: the
# prefix's C:\setup). Expands the payload Setup.exe carries into C:\payload, so
# the driver can compare what the run installs byte for byte, and gives the
# prefix a Desktop of its own: Wine links it to $HOME, which every prefix shares.
payload_fixture() {
  local build z zarc= out=$WINEPREFIX/drive_c/payload d
  build=$(dirname "$setup")
  for z in "${KELP_ZARC:-}" "$build/host-zarc/zarc" "$build/../native/zarc" "$build/../../native/zarc" \
           "$(command -v zarc || true)"; do
    [ -n "$z" ] && [ -x "$z" ] && { zarc=$z; break; }
  done
  [ -n "$zarc" ] && [ -f "$build/product/payload.zarc" ] || { echo "no payload or zarc beside $setup" >&2; exit 1; }
  mkdir -p "$out"
  "$zarc" extract "$build/product/payload.zarc" -C "$out" >/dev/null || { echo "cannot expand the payload" >&2; exit 1; }
  for d in "$WINEPREFIX"/drive_c/users/*/Desktop; do
    if [ -L "$d" ]; then rm "$d" && mkdir "$d"; fi
  done
  arg='C:\payload'
}
payload_fixture
