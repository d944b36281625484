#!/usr/bin/env bash
# The README's first command: sets up, builds, and starts Zolvane (the x86_64 build) under Wine in
# build/wine-xp. On $DISPLAY when there is one; otherwise on a private Xvfb, where it saves a screenshot of
# the window in build/screenshot.png. With --about it also opens the About window and saves build/about.png.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/wine-session.sh"

openAbout=false
[ "${1:-}" = "--about" ] && openAbout=true

"$ZOLVANE_ROOT/scripts/setup.sh"
# Only what this command starts: the program, and the end-to-end driver that parks the pointer and opens the
# About window for the screenshots. scripts/test.sh builds the rest.
"$ZOLVANE_ROOT/scripts/build.sh" win64:Zolvane,zolvane_e2e
exe="$ZOLVANE_ROOT/build/win64/Zolvane.exe"
driver="$ZOLVANE_ROOT/build/win64/tests/e2e/zolvane_e2e.exe"

if [ -n "${DISPLAY:-}" ]; then
  log "starting Zolvane on $DISPLAY"
  exec "$WINE64" "$exe"
fi

# Waits (bounded) for a top-level X window whose name holds $1; prints its id.
wait_for_window() {
  local id
  for _ in $(seq 1 150); do
    id=$(xwininfo -root -children 2>/dev/null | grep -F "\"$1\"" | awk '{print $1}' | head -n1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Saves the X window $1 as the PNG $2, once it has had time to paint.
snap() {
  sleep 1
  import -window "$1" "$2"
  log "screenshot saved: $2"
}

wine_session_start
"$WINE64" "$exe" &
zolvanePid=$!
caption="Zolvane for Windows® XP"
window=$(wait_for_window "$caption") || { log "the main window did not appear"; exit 1; }
# The pointer starts in the middle of the screen, over the window: a tool tip would open in the picture.
"$WINE64" "$driver" park-pointer || log "the pointer stayed where it was"
snap "$window" "$ZOLVANE_ROOT/build/screenshot.png"

if $openAbout; then
  # The end-to-end driver chooses "About Zolvane" from the menu, as a user would.
  "$WINE64" "$driver" open-about || { log "could not open the About window"; exit 1; }
  about=$(xwininfo -root -children | grep -F "\"$caption\"" | awk '{print $1}' | grep -v "^$window\$" | head -n1)
  [ -n "$about" ] || { log "the About window did not appear"; exit 1; }
  snap "$about" "$ZOLVANE_ROOT/build/about.png"
fi

log "Zolvane is running on the private display $DISPLAY (process $zolvanePid)."
if [ -t 0 ]; then
  log "Press Enter here (or Ctrl+C) to close it."
  read -r _ || true
else
  log "No terminal to wait on: closing it now."
fi
wine_session_stop
