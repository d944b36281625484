#!/usr/bin/env bash
# The 32-bit build/win32/zolvane-cli.exe in the 64-bit prefix build/wine-xp, as on Windows XP x64 through its
# 32-bit layer (WoW64): a shared folder it moves lands in the 64-bit view of HKLM, which the 64-bit shell and
# reg.exe read, and not under Wow6432Node; its backup holds that view (the 64-bit regedit made it), and its
# restore writes that view back. Everything it changes is put back. Ends with one line, "wow64: N passed,
# N failed" or "wow64: skipped: ..."; non-zero when a check failed. Details: build/wow64.log.
set -uo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/wine-session.sh"
source "$(dirname "$0")/tally.sh"
logFile="$ZOLVANE_ROOT/build/wow64.log"
cli="$ZOLVANE_ROOT/build/win32/zolvane-cli.exe"
usf='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
sf='HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
usf32='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
sf32='HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
backup='C:\zolvane-wow64.bak'

[ -f "$cli" ] || { echo "wow64: 0 passed, 1 failed ($cli is missing)"; exit 1; }
if [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
  echo "wow64: skipped: $WINEPREFIX has no 32-bit half (this machine runs no 32-bit Wine)"
  exit 0
fi

: >"$logFile"
# "TYPE<tab>DATA" of a value as the 64-bit reg.exe reads it, or nothing.
value() {
  "$WINE64" reg query "$1" /v CommonMusic 2>/dev/null | tr -d '\r' |
    awk '$1 == "CommonMusic" { type = $2; sub(/^ *[^ ]+ +[^ ]+ +/, ""); print type "\t" $0 }'
}
cli32() { "$WINE64" "$cli" "$@" </dev/null; }
holds() { [ "$(value "$1")" = "$2" ]; }
backup_holds() { iconv -f UTF-16LE -t UTF-8 "$WINEPREFIX/drive_c/zolvane-wow64.bak" | tr -d '\r' | grep -qxF "$1"; }
output_is() { local want=$1; shift; [ "$(cli32 "$@" | tr -d '\r')" = "$want" ]; }

wine_session_start >>"$logFile" 2>&1 || { echo "wow64: 0 passed, 1 failed (no Wine session; see $logFile)"; exit 1; }
declare -A saved
for key in "$usf" "$sf" "$usf32" "$sf32"; do saved[$key]=$(value "$key"); done

check "set prints its success" output_is "Successfully done!" set "Shared Music" 'D:\WowTest'
check "the 64-bit User Shell Folders holds the new path" holds "$usf" $'REG_EXPAND_SZ\tD:\\WowTest'
check "the 64-bit Shell Folders holds it expanded" holds "$sf" $'REG_SZ\tD:\\WowTest'
check "Wow6432Node's User Shell Folders is untouched" holds "$usf32" "${saved[$usf32]}"
check "Wow6432Node's Shell Folders is untouched" holds "$sf32" "${saved[$sf32]}"
check "show reads the 64-bit view" output_is 'D:\WowTest' show "Shared Music"
check "backup succeeds" cli32 backup "$backup"
check "the backup holds the 64-bit view" backup_holds '"CommonMusic"="D:\\WowTest"'
check "a second set moves it on" cli32 set "Shared Music" 'D:\WowElsewhere'
check "import succeeds" cli32 import "$backup"
check "import wrote the 64-bit view back" holds "$sf" $'REG_SZ\tD:\\WowTest'
check "Wow6432Node is still untouched" holds "$sf32" "${saved[$sf32]}"

for key in "$usf" "$sf" "$usf32" "$sf32"; do
  IFS=$'\t' read -r type data <<<"${saved[$key]}"
  if [ -n "$type" ]; then
    "$WINE64" reg add "$key" /v CommonMusic /t "$type" /d "$data" /f >>"$logFile" 2>&1
  else
    "$WINE64" reg delete "$key" /v CommonMusic /f >>"$logFile" 2>&1
  fi
done
rm -f "$WINEPREFIX/drive_c/zolvane-wow64.bak"
wine_session_stop
trap - EXIT
tally_end wow64
