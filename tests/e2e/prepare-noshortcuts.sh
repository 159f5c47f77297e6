# The payload beside the prefix for byte-for-byte checks, a Desktop of its own.
source "$here/payload-fixture.sh"
