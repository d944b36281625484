# Starts a private Xvfb and a persistent wineserver for the Wine-side tests; sourced, not run.
# Call wine_session_start, then wine_session_stop (it is also set as the EXIT trap). A script started inside a
# session of the same prefix (ctest under scripts/test.sh) takes that session as it is and leaves it running.
wine_session_start() {
  if [ "${ZOLVANE_WINE_SESSION:-}" = "$WINEPREFIX" ] && [ -n "${DISPLAY:-}" ]; then
    SESSION_BORROWED=1
    return 0
  fi
  local displayFile
  displayFile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayFile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 1 100); do [ -s "$displayFile" ] && break; sleep 0.1; done
  [ -s "$displayFile" ] || { log "Xvfb did not start"; return 1; }
  export DISPLAY=":$(head -n1 "$displayFile")"
  export ZOLVANE_WINE_SESSION="$WINEPREFIX"
  rm -f "$displayFile"
  # A persistent wineserver: a cold start costs about a second per program.
  "$WINESERVER" -p
  # The first program of a session starts Wine's services and desktop process; started here, they do not
  # inherit (and hold open) the output pipe of a test.
  "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap wine_session_stop EXIT
}

wine_session_stop() {
  [ -n "${SESSION_BORROWED:-}" ] && return 0
  "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
  XVFB_PID=""
  unset ZOLVANE_WINE_SESSION
}
