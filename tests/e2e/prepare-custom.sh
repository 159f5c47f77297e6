# The variant installer: custom page on, protocol handler off.
setup_variant Custom=True RegisterExt=False
