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

# apt-get update, tried three times: a mirror in the middle of a sync serves an index that does not match its
# release file for a while. An index that still fails is not fatal by itself: apt keeps the others, and what only
# that index lists cannot be installed, which the install that needs it then says. APT_INDEX_FAILURE names the
# index that failed and why, on one line; empty when none did.
APT_INDEX_FAILURE=""
apt_update() {
  local try errors
  for try in 1 2 3; do
    errors=$($SUDO apt-get update -qq 2>&1 >/dev/null) && { APT_INDEX_FAILURE=""; return 0; }
    [ "$try" -lt 3 ] && sleep 5
  done
  APT_INDEX_FAILURE=$(sed -n 's/^E: Failed to fetch \([^ ]*\) *\(.*\)/\1: \2/p' <<<"$errors" | head -n1 | cut -c1-200)
  log "apt-get update: ${APT_INDEX_FAILURE:-$(grep -m1 '^E:' <<<"$errors")}; going on with the other indexes"
  return 0
}

# The build trees, one a line: the configure presets of CMakePresets.json, in its order.
build_trees() { sed -n 's/^ *"name": *"\([a-z0-9]*\)".*/\1/p' "$ZOLVANE_ROOT/CMakePresets.json"; }
