# The variant that leaves the ftp protocol handler alone; the payload beside the
# prefix for byte-for-byte checks, a Desktop of its own.
setup_variant RegisterExt=False
source "$here/payload-fixture.sh"
