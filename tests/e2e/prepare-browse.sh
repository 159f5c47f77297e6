# Drive q: maps a directory the driver can take away and bring back.
mkdir -p "$work/qdrive"
ln -s "$work/qdrive" "$WINEPREFIX/dosdevices/q:"
arg="Z:$(echo "$work/qdrive" | tr / '\\')"
