# The uninstall scenario: one Wine session from here to the check, and a
# snapshot of the prefix before the installation.
# A new session counts as a restart of Windows and carries out what was scheduled
# for it; the check restarts only once it has seen what was scheduled.
wineserver -p600
export KELP_LOADER=$loader KELP_UNINSTALL_SNAPSHOTS=$work/snapshots
# shellcheck source=prefix-snapshot.sh
source "$here/prefix-snapshot.sh"
prefix_snapshot "$KELP_UNINSTALL_SNAPSHOTS/before" || exit 1
