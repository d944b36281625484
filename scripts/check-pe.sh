#!/usr/bin/env bash
# Checks that Windows XP can load a Zolvane.exe or zolvane-cli.exe: machine, subsystem, subsystem and OS
# version, and every imported DLL and function against tests/pe/xp_imports.txt, and that it leaves the shell's
# libraries to be loaded on first use. Usage: check-pe.sh EXE i386|x86-64 MAX_VERSION [windows|console]
set -uo pipefail
exe=$1 machine=$2 maxVersion=$3 subsystem=${4:-windows}
root=$(cd "$(dirname "$0")/.." && pwd)
allow="$root/tests/pe/xp_imports.txt"
if [ "$machine" = i386 ]; then objdump=i686-w64-mingw32-objdump; else objdump=x86_64-w64-mingw32-objdump; fi
xpOnly=""
[ "$machine" = i386 ] && xpOnly=XP64  # 64-bit-only entries do not count for the 32-bit exe

headers=$("$objdump" -p "$exe") || { echo "$exe: not a PE file"; exit 1; }
problems=0
fail() { echo "$exe: $*"; problems=$((problems + 1)); }

format=$("$objdump" -f "$exe" | sed -n 's/.*file format //p')
case "$machine:$format" in
  i386:pei-i386 | x86-64:pei-x86-64) ;;
  *) fail "machine is $format, expected $machine" ;;
esac
if [ "$subsystem" = console ]; then subsystemCode=00000003; else subsystemCode=00000002; fi
grep -qE "^Subsystem[[:space:]]+$subsystemCode" <<<"$headers" || fail "subsystem is not $subsystem"
field() { awk -v f="$1" '$1 == f {print $2}' <<<"$headers"; }
for kind in Subsystem OSystem; do
  version="$(field "Major${kind}Version").$(printf '%02d' "$(field "Minor${kind}Version")")"
  awk -v v="$version" -v m="$maxVersion" 'BEGIN {exit !(v + 0 <= m + 0)}' || fail "$kind version $version above $maxVersion"
done

imports=$(awk '/DLL Name:/ {dll = toupper($3); next}
               /^\t[0-9a-f]+\t *[0-9]+ +[A-Za-z_]/ {if (dll) print dll, $NF}' <<<"$headers" | sort -u)
count=$(grep -c . <<<"$imports")
while read -r dll function; do
  entry=$(awk -v d="$dll" -v f="$function" '$1 == d && $2 == f {print $3}' "$allow")
  if [ -z "$entry" ]; then
    fail "imports $dll $function, which is not on the Windows XP list"
  elif [ -n "$xpOnly" ] && [ "$entry" = "$xpOnly" ]; then
    fail "imports $dll $function, which only 64-bit Windows has"
  fi
done <<<"$imports"

# The shell's libraries are loaded when first needed: imported, they would all load before the first paint.
for deferred in SHELL32.DLL SHLWAPI.DLL OLE32.DLL COMDLG32.DLL; do
  grep -q "^$deferred " <<<"$imports" && fail "imports $deferred, which must be loaded on first use"
done

echo "$exe: $format, $count imports from $(awk '{print $1}' <<<"$imports" | sort -u | wc -l) DLLs, $problems problems"
[ "$problems" -eq 0 ]
