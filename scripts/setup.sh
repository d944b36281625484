#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine and creates the project's Wine prefix (build/wine-xp).
# Idempotent: a second run installs nothing and leaves an existing prefix alone. Never touches ~/.wine.
# With --run, only what building and running Zolvane needs (scripts/run.sh): no test tools, no 32-bit Wine.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/wine-prefix.sh"

forRunning=false
[ "${1:-}" = --run ] && forRunning=true
packages=(cmake g++ make g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64 wine64 fonts-wine xvfb xauth x11-utils
          imagemagick)
# wixl builds the MSI beside the zip, and msitools' msibuild puts the exes' versions into it.
$forRunning || packages+=(googletest libgtest-dev clang libclang-rt-14-dev g++-mingw-w64-i686-win32
                          binutils-mingw-w64-i686 wixl msitools)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  apt_update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if $forRunning; then
  make_wine_prefix "$WINE64" winxp64
  exit 0
fi
# For the tests, 32-bit Wine first: a prefix made without it has no 32-bit half, and the 32-bit Zolvane.exe, the
# one users take to XP x64, could not run in it. One made before it was there is made again (it holds nothing of
# its own).
wow64=$("$ZOLVANE_ROOT/scripts/setup-wine32.sh" --packages-only) || { echo "$wow64"; exit 1; }
grep '^win32: skipped' <<<"$wow64" >&2 || true
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
  ! grep -q '^win32: skipped' <<<"$wow64"; then
  log "making $WINEPREFIX again, with its 32-bit half"
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi

make_wine_prefix "$WINE64" winxp64
