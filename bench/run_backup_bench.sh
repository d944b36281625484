#!/usr/bin/env bash
# Builds the project and runs the backup benchmark under 64-bit Wine in the project's prefix.
# Usage: bench/run_backup_bench.sh [rounds]
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
source "$ZOLVANE_ROOT/scripts/wine-session.sh"
"$ZOLVANE_ROOT/scripts/setup.sh"
"$ZOLVANE_ROOT/scripts/build.sh"
wine_session_start
"$WINE64" "$ZOLVANE_ROOT/build/win64/bench/backup_bench.exe" "$@"
