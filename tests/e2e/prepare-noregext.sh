# The variant that leaves the ftp protocol handler alone and makes no shortcut
# at all; the payload beside the prefix for byte-for-byte checks.
setup_variant RegisterExt=False ShortcutStartMenu=False ShortcutSendTo=False ShortcutDesktop=False
source "$here/payload-fixture.sh"
