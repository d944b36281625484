# Settings for 32-bit Wine and its Windows XP prefix (build/wine-xp32): sourced after env.sh, not run.
export WINEPREFIX="${ZOLVANE_WINEPREFIX32:-$ZOLVANE_ROOT/build/wine-xp32}"
export WINEARCH=win32
# The 32-bit loader; on this kernel it runs under qemu-i386 through binfmt_misc.
WINE32=/usr/lib/wine/wine
export WINELOADER=$WINE32
# WINESERVER stays as env.sh sets it: the 64-bit wineserver serves 32-bit programs too, and runs natively
# rather than under the emulator.
# wine-session.sh starts its programs with $WINE64.
WINE64=$WINE32
