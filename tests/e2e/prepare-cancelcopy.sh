# A payload big enough that a cancel lands while the files are written: the
# product's own files with a help file grown by a few MB, put into the copy of
# Setup.exe as its "ZARC"/"DATA" resource. The payload stays beside it for
# check-cancelcopy.sh.
build=$(dirname "$setup")
zarc=
for z in "${KELP_ZARC:-}" "$build/host-zarc/zarc" "$build/../native/zarc" "$build/../../native/zarc" "$(command -v zarc || true)"; do
  [ -n "$z" ] && [ -x "$z" ] && { zarc=$z; break; }
done
"$here/variant-payload.sh" "$zarc" "$build/product/payload.zarc" 4 payload.zarc ||
  { echo "cannot make the big payload" >&2; exit 1; }
"$loader" kelp_setres.exe Setup.exe DATA payload.zarc ZARC || { echo "cannot put the big payload in" >&2; exit 1; }
# The run makes a desktop shortcut: a desktop of the prefix's own, not the
# user's home that Wine links it to.
for d in "$WINEPREFIX"/drive_c/users/*/Desktop; do
  [ -L "$d" ] && rm "$d" && mkdir "$d"
done
