#!/usr/bin/env bash
# Configures and builds: build/host (native, unit tests), build/asan (the same with AddressSanitizer and
# UndefinedBehaviorSanitizer), build/fuzz (clang, libFuzzer targets), build/win32 (the product) and
# build/win64 (the same program for x86_64, run under Wine by the tests).
set -euo pipefail
source "$(dirname "$0")/env.sh"
jobs=$(nproc)

# A build folder is configured once with its settings; later runs only refresh it, which picks up new
# subdirectories and files.
configure() {  # dir [cmake args...]
  local dir=$1; shift
  if [ -f "$ZOLVANE_ROOT/$dir/CMakeCache.txt" ]; then
    cmake "$ZOLVANE_ROOT/$dir" >/dev/null
  else
    cmake -S "$ZOLVANE_ROOT" -B "$ZOLVANE_ROOT/$dir" "$@" >/dev/null
  fi
}
configure build/host -DCMAKE_BUILD_TYPE=Debug
configure build/asan -DCMAKE_BUILD_TYPE=Debug -DZOLVANE_SANITIZE=ON
CC=clang CXX=clang++ configure build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOLVANE_FUZZ=ON
configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ZOLVANE_ROOT/cmake/mingw-i686.cmake"
configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ZOLVANE_ROOT/cmake/mingw-x86_64.cmake"
for dir in build/host build/asan build/fuzz build/win32 build/win64; do
  log "building $dir"
  cmake --build "$ZOLVANE_ROOT/$dir" -j"$jobs" >"$ZOLVANE_ROOT/$dir.log" 2>&1 || { tail -40 "$ZOLVANE_ROOT/$dir.log"; exit 1; }
done
