# The payload beside the prefix, for byte-for-byte checks.
source "$here/payload-fixture.sh"
