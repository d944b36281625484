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
  # The first program of a session starts Wine's services; started here, they do not inherit (and hold open) the
  # output pipe of a test.
  "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap wine_session_stop EXIT
  wine_session_keep_desktop
}

# Wine's desktop process (explorer.exe /desktop) is started by the first program that needs a desktop window, keeps
# that program's standard error open, and ends a second after the last program that used the desktop. Left to the
# tests, each scenario's driver would start it anew, and it would hold the test's output pipe open, which CTest
# waits for: a second a test, or as long as other Wine programs keep the desktop in use, so that a finished
# scenario ran into its timeout. So the session starts the desktop with no output of anyone's, from a program that
# uses the desktop until the session ends: a cmd that reads its commands from a pipe this shell holds.
wine_session_keep_desktop() {
  local started
  started=$(mktemp)
  exec {DESKTOP_USER_FD}> >(exec "$WINE64" cmd.exe >"$started" 2>/dev/null)
  # Its banner says it runs, and so uses the desktop: the desktop started next outlives the program that starts it.
  for _ in $(seq 1 300); do [ -s "$started" ] && break; sleep 0.1; done
  [ -s "$started" ] || log "cmd.exe did not start within 30 s: the desktop may end between the tests"
  rm -f "$started"
  "$WINE64" rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
  [ -n "${SESSION_BORROWED:-}" ] && return 0
  "$WINESERVER" -k >/dev/null 2>&1 || true
  timeout 20 "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "${DESKTOP_USER_FD:-}" ]; then exec {DESKTOP_USER_FD}>&-; fi
  DESKTOP_USER_FD=""
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" >/dev/null 2>&1 || true
  XVFB_PID=""
  unset ZOLVANE_WINE_SESSION
}
