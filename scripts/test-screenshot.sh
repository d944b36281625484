#!/usr/bin/env bash
# The CTest test screenshot_matches_docs: scripts/run.sh's screenshot of the main window, taken as a new user's
# first run takes it, must be docs/screenshot.png pixel for pixel (the README shows that picture).
set -euo pipefail
source "$(dirname "$0")/env.sh"
"$ZOLVANE_ROOT/scripts/run.sh" --screenshot </dev/null
taken="$ZOLVANE_ROOT/build/screenshot.png"
differing=$(compare -metric AE "$taken" "$ZOLVANE_ROOT/docs/screenshot.png" null: 2>&1 || true)
if [ "$differing" != "0" ]; then
  log "build/screenshot.png differs from docs/screenshot.png: $differing"
  exit 1
fi
log "build/screenshot.png is docs/screenshot.png, pixel for pixel"
