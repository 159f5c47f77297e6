# Sourced by the prepare scripts of the installation scenarios (cwd: the
# prefix's C:\setup). Expands the payload Setup.exe carries into C:\payload, so
# the driver can compare what the run installs byte for byte.
payload_fixture() {
  local build z zarc= out=$WINEPREFIX/drive_c/payload
  build=$(dirname "$setup")
  for z in "${KELP_ZARC:-}" "$build/host-zarc/zarc" "$build/../native/zarc" "$build/../../native/zarc" \
           "$(command -v zarc || true)"; do
    [ -n "$z" ] && [ -x "$z" ] && { zarc=$z; break; }
  done
  [ -n "$zarc" ] && [ -f "$build/product/payload.zarc" ] || { echo "no payload or zarc beside $setup" >&2; exit 1; }
  mkdir -p "$out"
  "$zarc" extract "$build/product/payload.zarc" -C "$out" >/dev/null || { echo "cannot expand the payload" >&2; exit 1; }
  arg='C:\payload'
}
payload_fixture
