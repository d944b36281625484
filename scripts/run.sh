#!/usr/bin/env bash
# The README's first command: sets up, builds, and starts Zolvane (the x86_64 build) under Wine in
# build/wine-xp. On $DISPLAY when there is one; otherwise on a private Xvfb, where it saves a screenshot of
# the window in build/screenshot.png. With --about it also opens the About window and saves build/about.png.
# With --screenshot it saves the screenshots on $DISPLAY too (or on a private Xvfb) and then closes Zolvane,
# which is what scripts/test-screenshot.sh checks against docs/screenshot.png.
set -euo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/wine-session.sh"

openAbout=false
screenshotOnly=false
for argument in "$@"; do
  case $argument in
    --about) openAbout=true ;;
    --screenshot) screenshotOnly=true ;;
    *) log "unknown option: $argument (--about, --screenshot)"; exit 2 ;;
  esac
done

"$ZOLVANE_ROOT/scripts/setup.sh" --run
# Only what this command starts: the program, and the end-to-end driver that parks the pointer and opens the
# About window for the screenshots. scripts/test.sh builds the rest.
"$ZOLVANE_ROOT/scripts/build.sh" win64:Zolvane,zolvane_e2e
exe="$ZOLVANE_ROOT/build/win64/Zolvane.exe"
driver="$ZOLVANE_ROOT/build/win64/tests/e2e/zolvane_e2e.exe"

if [ -n "${DISPLAY:-}" ] && ! $screenshotOnly; then
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

# The top-level X windows that are on the screen, one id a line.
viewable_windows() {
  xwininfo -root -children 2>/dev/null | awk '/^ +0x/ {print $1}' | while read -r id; do
    if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then echo "$id"; fi
  done
}

# Waits (bounded) until no top-level window but those given is on the screen: on a prefix just made, Wine's
# first-start windows may still be there, and a tool tip may lie over the window.
wait_until_alone() {
  local others="" allowed=(-e none)
  for id in "$@"; do allowed+=(-e "$id"); done
  for _ in $(seq 1 300); do
    others=$(viewable_windows | grep -v -x -F "${allowed[@]}" || true)
    [ -z "$others" ] && return 0
    sleep 0.1
  done
  log "other windows stayed on the screen: $(echo $others)"
}

# Saves the X window $1 as the PNG $2, once it has had time to paint and no window but it (and those after
# $2) is on the screen.
snap() {
  local window=$1 file=$2
  shift 2
  sleep 1
  wait_until_alone "$window" "$@"
  import -window "$window" "$file"
  log "screenshot saved: $file"
}

wine_session_start
# The pointer starts in the middle of the screen, where the window opens: a tool tip would open under it, so it
# is moved to a corner before the window is there.
"$WINE64" "$driver" park-pointer || log "the pointer stayed where it was"
wait_until_alone
"$WINE64" "$exe" &
zolvanePid=$!
caption="Zolvane for Windows® XP"
window=$(wait_for_window "$caption") || { log "the main window did not appear"; exit 1; }
snap "$window" "$ZOLVANE_ROOT/build/screenshot.png"

if $openAbout; then
  # The end-to-end driver chooses "About Zolvane" from the menu, as a user would.
  "$WINE64" "$driver" open-about || { log "could not open the About window"; exit 1; }
  about=$(xwininfo -root -children | grep -F "\"$caption\"" | awk '{print $1}' | grep -v "^$window\$" | head -n1)
  [ -n "$about" ] || { log "the About window did not appear"; exit 1; }
  snap "$about" "$ZOLVANE_ROOT/build/about.png" "$window"
fi

if ! $screenshotOnly && [ -t 0 ]; then
  log "Zolvane is running on the private display $DISPLAY (process $zolvanePid)."
  log "Press Enter here (or Ctrl+C) to close it."
  read -r _ || true
else
  log "Closing Zolvane."
fi
# In a session borrowed from the tests, Zolvane is ended here; in its own, the session's end ends it too.
kill "$zolvanePid" 2>/dev/null || true
wait "$zolvanePid" 2>/dev/null || true
wine_session_stop
