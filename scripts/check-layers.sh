#!/usr/bin/env bash
# The layers, from the bottom: each folder of the product may include only itself and the folders below it,
# never one above or beside it. Prints every include that points elsewhere, and fails when there is one.
# Usage: check-layers.sh [SOURCE_ROOT]   (the project's root by default)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

# folder: the folders its files may include. product_version.h, generated at the build's top, is the one include
# without a folder; it is the version's, below everything.
declare -A allowed=(
  [text]="text"
  [platform]="platform"
  [platform/win32]="platform/win32 platform text"
  [vocabulary]="vocabulary platform text"
  [features]="features vocabulary platform text"
  [presenters]="presenters features vocabulary platform text"
  [ui]="ui presenters features vocabulary platform/win32 platform text resources"
  [cli]="cli features vocabulary platform/win32 platform text resources"
  [resources]="resources"
)

problems=0
for folder in "${!allowed[@]}"; do
  for file in "$root/$folder"/*.cpp "$root/$folder"/*.h; do
    [ -f "$file" ] || continue
    while IFS=: read -r line include; do
      target=${include%/*}
      [ "$include" = product_version.h ] && continue
      [ "$target" = "$include" ] && target="(none)"
      if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
        echo "${file#"$root"/}:$line: includes \"$include\", which is not below $folder/"
        problems=$((problems + 1))
      fi
    done < <(grep -n '^#include "' "$file" | sed 's/^\([0-9]*\):#include "\([^"]*\)".*/\1:\2/')
  done
done
if [ "$problems" -gt 0 ]; then
  echo "$problems include(s) point up or sideways"
  exit 1
fi
echo "every include points down"
