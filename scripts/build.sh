#!/usr/bin/env bash
# Configures and builds the three builds: build/host (native, unit tests), build/win32 (the product),
# build/win64 (the same program for x86_64, run under Wine by the tests).
set -euo pipefail
source "$(dirname "$0")/env.sh"
jobs=$(nproc)

configure() {  # dir [cmake args...]
  local dir=$1; shift
  [ -f "$ZOLVANE_ROOT/$dir/CMakeCache.txt" ] || cmake -S "$ZOLVANE_ROOT" -B "$ZOLVANE_ROOT/$dir" "$@" >/dev/null
}
configure build/host -DCMAKE_BUILD_TYPE=Debug
configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ZOLVANE_ROOT/cmake/mingw-i686.cmake"
configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ZOLVANE_ROOT/cmake/mingw-x86_64.cmake"
for dir in build/host build/win32 build/win64; do
  log "building $dir"
  cmake --build "$ZOLVANE_ROOT/$dir" -j"$jobs" >"$ZOLVANE_ROOT/$dir.log" 2>&1 || { tail -40 "$ZOLVANE_ROOT/$dir.log"; exit 1; }
done
