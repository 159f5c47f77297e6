# A payload big enough that a cancel lands while the files are written: the
# product's own files with a help file grown by a few MB, put into the copy of
# Setup.exe as its "ZARC"/"DATA" resource. The payload stays beside it for
# check-cancelcopy.sh.
"$here/variant-payload.sh" "$KELP_ZARC" "$KELP_PAYLOAD" 4 payload.zarc ||
  { echo "cannot make the big payload" >&2; exit 1; }
"$loader" kelp_setres.exe Setup.exe DATA payload.zarc ZARC || { echo "cannot put the big payload in" >&2; exit 1; }
