# Sourced by the prepare scripts of the installation scenarios (cwd: the
# prefix's C:\setup). Expands the payload Setup.exe carries into C:\payload, so
# the driver can compare what the run installs byte for byte.
expand_payload "$KELP_PAYLOAD" "$WINEPREFIX/drive_c/payload" || exit 1
arg='C:\payload'
