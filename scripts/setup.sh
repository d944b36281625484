#!/usr/bin/env bash
# Installs what is missing on a Debian 12 machine and creates the project's Wine prefix (build/wine-xp).
# Idempotent: a second run installs nothing and leaves an existing prefix alone. Never touches ~/.wine.
set -euo pipefail
source "$(dirname "$0")/env.sh"

packages=(cmake g++ make googletest libgtest-dev clang libclang-rt-14-dev
          g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine64 fonts-wine xvfb xauth x11-utils imagemagick)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# 32-bit Wine first: a prefix made without it has no 32-bit half, and the 32-bit Zolvane.exe, the one users take
# to XP x64, could not run in it. One made before it was there is made again (it holds nothing of its own).
wow64=$("$ZOLVANE_ROOT/scripts/setup-wine32.sh" --packages-only) || { echo "$wow64"; exit 1; }
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
  ! grep -q '^win32: skipped' <<<"$wow64"; then
  log "making $WINEPREFIX again, with its 32-bit half"
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  log "creating the Wine prefix $WINEPREFIX (Windows XP x64)"
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$WINE64" wineboot -i >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine' /v Version /d winxp64 /f >/dev/null 2>&1
  # Without a window manager every window close otherwise waits two seconds.
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$WINESERVER" -w
fi

# Wine looks for its own fonts (Tahoma, MS Sans Serif) in the prefix's Fonts folder, not where fonts-wine
# puts them: without them every window falls back to a much wider font.
for font in tahoma.ttf tahomabd.ttf sserife.fon; do
  target="$WINEPREFIX/drive_c/windows/Fonts/$font"
  [ -f "$target" ] || cp "/usr/share/wine/fonts/$font" "$target"
done
