#!/usr/bin/env bash
# Configures and builds the project's trees, one for each configure preset of CMakePresets.json: build/host
# (native, unit tests), build/asan (the same with AddressSanitizer and UndefinedBehaviorSanitizer), build/fuzz
# (clang, libFuzzer targets), build/win32 (the product) and build/win64 (the same program for x86_64, run under
# Wine by the tests). A full build of build/win32 also makes the package, build/package/Zolvane-VERSION-win32.zip.
# Usage: build.sh [tree[:target,...]...]   with trees among the presets, all of them when none is named; a tree
# given with targets builds only those (and what they need), e.g. win64:Zolvane,zolvane_e2e.
set -euo pipefail
source "$(dirname "$0")/env.sh"
jobs=$(nproc)

requests=("$@")
[ ${#requests[@]} -gt 0 ] || mapfile -t requests < <(build_trees)
for request in "${requests[@]}"; do
  tree=${request%%:*}
  build_trees | grep -qx "$tree" || { log "unknown build tree: $tree (the presets: $(build_trees | xargs))"; exit 2; }
  # A tree is configured by its preset; a second run refreshes it, which picks up new folders and files.
  (cd "$ZOLVANE_ROOT" && cmake --preset "$tree" >"$ZOLVANE_ROOT/build/$tree.configure.log" 2>&1) ||
    { tail -20 "$ZOLVANE_ROOT/build/$tree.configure.log"; exit 1; }
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
