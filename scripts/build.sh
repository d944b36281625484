#!/usr/bin/env bash
# Configures and builds: build/host (native, unit tests), build/asan (the same with AddressSanitizer and
# UndefinedBehaviorSanitizer), build/fuzz (clang, libFuzzer targets), build/win32 (the product) and
# build/win64 (the same program for x86_64, run under Wine by the tests).
# A full build of build/win32 also makes the package, build/package/Zolvane-VERSION-win32.zip.
# Usage: build.sh [tree[:target,...]...]   with trees among host asan fuzz win32 win64, all of them when none is
# named; a tree given with targets builds only those (and what they need), e.g. win64:Zolvane,zolvane_e2e.
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
requests=("$@")
[ ${#requests[@]} -gt 0 ] || requests=(host asan fuzz win32 win64)
for request in "${requests[@]}"; do
  tree=${request%%:*}
  case $tree in
    host) configure build/host -DCMAKE_BUILD_TYPE=Debug ;;
    asan) configure build/asan -DCMAKE_BUILD_TYPE=Debug -DZOLVANE_SANITIZE=ON ;;
    fuzz) CC=clang CXX=clang++ configure build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOLVANE_FUZZ=ON ;;
    win32) configure build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ZOLVANE_ROOT/cmake/mingw-i686.cmake" ;;
    win64) configure build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$ZOLVANE_ROOT/cmake/mingw-x86_64.cmake" ;;
    *) log "unknown build tree: $tree"; exit 2 ;;
  esac
done
for request in "${requests[@]}"; do
  dir=build/${request%%:*}
  targets=()
  [[ $request == *:* ]] && IFS=, read -r -a targets <<<"${request#*:}"
  log "building $dir${targets[*]:+ (${targets[*]})}"
  cmake --build "$ZOLVANE_ROOT/$dir" -j"$jobs" ${targets[@]:+--target "${targets[@]}"} >"$ZOLVANE_ROOT/$dir.log" 2>&1 ||
    { tail -40 "$ZOLVANE_ROOT/$dir.log"; exit 1; }
done
# The package is made from a whole win32 build only, so that it never holds a stale program.
for request in "${requests[@]}"; do
  [ "$request" = win32 ] || continue
  log "packaging build/win32 into build/package/"
  (cd "$ZOLVANE_ROOT/build/win32" && cpack -C Release >"$ZOLVANE_ROOT/build/package.log" 2>&1) ||
    { tail -20 "$ZOLVANE_ROOT/build/package.log"; exit 1; }
done
