# Shared settings for the project's scripts: sourced, not run.
ZOLVANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${ZOLVANE_WINEPREFIX:-$ZOLVANE_ROOT/build/wine-xp}"
# /usr/bin/wine prefers the 32-bit loader, which this kernel cannot run.
export WINELOADER=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE64=/usr/lib/wine/wine64
# Wine links the profile's Desktop, Documents, Music, Pictures and Videos to $HOME, and makes such a link again
# whenever a program has one of those folders made: its home is a folder of the project's, so that nothing a
# test or the window writes there lands in the home of whoever runs them. The X server's key stays where it was.
export XAUTHORITY="${XAUTHORITY:-$HOME/.Xauthority}"
export HOME="$ZOLVANE_ROOT/build/wine-home"
mkdir -p "$HOME"

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

log() { printf '[zolvane] %s\n' "$*" >&2; }

# The build trees, one a line: the configure presets of CMakePresets.json, in its order.
build_trees() { sed -n 's/^ *"name": *"\([a-z0-9]*\)".*/\1/p' "$ZOLVANE_ROOT/CMakePresets.json"; }
