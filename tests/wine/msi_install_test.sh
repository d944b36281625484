#!/usr/bin/env bash
# The installer packages under Wine's msiexec, in the 64-bit prefix build/wine-xp: Zolvane-2.0-win32.msi installed
# with /qn (every file where it belongs and the same as the package's, the Start-menu shortcut to Zolvane.exe, the
# Add or Remove Programs entry), replaced by a newer version of itself built here (one entry, the newer one), then
# removed with /x; and the x86_64 build's own MSI from the same source, whose zolvane-cli.exe runs where it was
# installed (64-bit Wine runs the i686 one only where the prefix has a 32-bit half, which this test then runs too),
# then removed. After each removal every file, folder, registry key and value is as before the install: only
# Windows Installer's own empty bookkeeping (C:\windows\Installer, and keys of its own) may stay.
# Usage: msi_install_test.sh WIN32_MSI WIN32_FILES WIN64_MSI WIN64_FILES   (FILES: the folder each MSI was made
# from, as cmake/packaging.cmake stages it). Ends with "msi: N passed, N failed"; details in build/msi-test.log.
set -uo pipefail
source "$(dirname "$0")/../../scripts/env.sh"
source "$ZOLVANE_ROOT/scripts/wine-session.sh"
source "$ZOLVANE_ROOT/scripts/tally.sh"
logFile="$ZOLVANE_ROOT/build/msi-test.log"
msi32=$(realpath "$1") files32=$(realpath "$2") msi64=$(realpath "$3") files64=$(realpath "$4")
drive=$WINEPREFIX/drive_c
# Wine's menu builder would mirror the shortcut into the Unix desktop's menus and note that in HKCU, and keep both
# after the shortcut is gone: Wine's own, not the package's, and nothing to leave in build/wine-home.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
installed=(Zolvane.exe zolvane-cli.exe README.txt LICENSE.txt apply-layout.cmd check-folders.cmd undo-layout.cmd)
uninstall='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall'
uninstall32='HKEY_LOCAL_MACHINE\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall'

for f in "$msi32" "$msi64"; do
  [ -f "$f" ] || { echo "msi: 0 passed, 1 failed ($f is missing: scripts/build.sh win32 win64 makes it)"; exit 1; }
done
command -v wixl >/dev/null && command -v msiinfo >/dev/null ||
  { echo "msi: 0 passed, 1 failed (wixl or msiinfo is missing: scripts/setup.sh installs them)"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; wine_session_stop' EXIT
: >"$logFile"

windowsPath() { echo "Z:${1//\//\\}"; }
msiexec() { "$WINE64" msiexec "$1" "$(windowsPath "$2")" /qn </dev/null; }
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
# What the prefix holds: every path under C:, and HKLM\Software and HKCU\Software as regedit exports them.
snapshot() {  # name
  (cd "$drive" && find . | sort) >"$scratch/$1.files"
  : >"$scratch/$1.registry"
  local hive
  for hive in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
    rm -f "$scratch/$1.$hive.reg"
    "$WINE64" regedit /e "$(windowsPath "$scratch/$1.$hive.reg")" "$hive\\Software" </dev/null
    [ -s "$scratch/$1.$hive.reg" ] || return 1
    iconv -f UTF-16LE -t UTF-8 "$scratch/$1.$hive.reg" | tr -d '\r' >>"$scratch/$1.registry"
  done
}
# After a removal: nothing the install made is left. What was there before is there still, and what is new is only
# an empty C:\windows\Installer and empty keys of Windows Installer's own (the Uninstall key itself, which a fresh
# Wine prefix lacks, and the Installer keys that hold its products).
left_as_before() {  # name of the snapshot before
  snapshot after || return 1
  local files registry
  files=$(diff "$scratch/$1.files" "$scratch/after.files" | grep '^[<>]' | grep -vx '> ./windows/Installer')
  registry=$(diff "$scratch/$1.registry" "$scratch/after.registry" | grep '^[<>]' | grep -v '^> $' |
    grep -v -E '^> \[HKEY_LOCAL_MACHINE\\Software\\(Wow6432Node\\)?(Classes\\Installer|Microsoft\\Windows\\CurrentVersion\\(Installer|Uninstall))(\\|\])')
  # A key that stays is empty: no value line follows it.
  registry+=$(diff "$scratch/$1.registry" "$scratch/after.registry" | grep -A1 '^> \[' | grep -E '^> [^[]')
  [ -z "$(ls -A "$drive/windows/Installer" 2>/dev/null)" ] || files+=$(ls -A "$drive/windows/Installer")
  [ -z "$files$registry" ] || { echo "left or gone since the install: $files$registry"; return 1; }
}
same_files() {  # installed folder, staged folder: each of the package's files, byte for byte
  local name
  for name in "${installed[@]}"; do cmp "$1/$name" "$2/$name" || return 1; done
  [ "$(ls "$1" | wc -l)" -eq ${#installed[@]} ] || { ls "$1"; return 1; }
}
# The shortcut "Zolvane" in the Start menu's Programs folder (Wine gives a per-machine package the installing
# user's: its ProgramMenuFolder ignores ALLUSERS; Windows gives the All Users one), to Zolvane.exe.
shortcut() {
  local link="$drive/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zolvane.lnk"
  [ "$1" = gone ] && { [ ! -e "$link" ]; return; }
  strings "$link" | grep -qxF "$1\\Zolvane.exe"
}
# The Add or Remove Programs entry: "NAME=DATA" lines that the product's Uninstall key must hold.
entry() {  # key, then the lines
  local key=$1
  shift
  "$WINE64" reg query "$key" </dev/null | tr -d '\r' >"$scratch/entry" || return 1
  local line
  for line in "$@"; do
    awk -v name="${line%%=*}" -v data="${line#*=}" \
      '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); found = ($0 == data) } END { exit !found }' \
      "$scratch/entry" || { cat "$scratch/entry"; return 1; }
  done
}
gone() { ! "$WINE64" reg query "$1" </dev/null >/dev/null 2>&1; }
runs_from() { [ "$("$WINE64" "$1\\zolvane-cli.exe" --version </dev/null | tr -d '\r')" = "zolvane-cli $2" ]; }
# The same package with a higher version and so another product code: what next year's MSI is to this one.
newer_package() {  # msi, staged folder, new version
  mkdir -p "$scratch/newer"
  ln -sf "$2"/* "$scratch/newer/"
  rm "$scratch/newer/zolvane.wxs"
  sed -e "0,/ Version=\"[^\"]*\"/s// Version=\"$3\"/" \
    -e "0,/<Product Id=\"[^\"]*\"/s//<Product Id=\"$(cat /proc/sys/kernel/random/uuid)\"/" \
    "$2/zolvane.wxs" >"$scratch/newer/zolvane.wxs"
  (cd "$scratch/newer" && wixl -a x86 -o "$scratch/newer.msi" zolvane.wxs)  # it looks in its working folder first
}

wine_session_start >>"$logFile" 2>&1 || { echo "msi: 0 passed, 1 failed (no Wine session; see $logFile)"; exit 1; }
version=$(property "$msi32" ProductVersion)
shortVersion=${version%.*}
code32=$(property "$msi32" ProductCode)
code64=$(property "$msi64" ProductCode)
folder32='C:\Program Files (x86)\Zolvane'
folder64='C:\Program Files\Zolvane'

# The product's MSI: installed, replaced by a newer one, removed.
check "a snapshot of the prefix before" snapshot before32
check "msiexec /i installs the 32-bit package" msiexec /i "$msi32"
check "its seven files are in Program Files (x86)\\Zolvane, as packaged" \
  same_files "$drive/Program Files (x86)/Zolvane" "$files32"
check "the Start menu's Programs hold the shortcut Zolvane to Zolvane.exe" shortcut "$folder32"
check "Add or Remove Programs lists it (32-bit view)" entry "$uninstall32\\$code32" "DisplayName=Zolvane" \
  "DisplayVersion=$version" "Publisher=Zolvane developers" "UninstallString=MsiExec.exe /X$code32" "NoModify=0x1"
if [ -f "$drive/windows/syswow64/kernel32.dll" ]; then
  check "its zolvane-cli.exe runs from there" runs_from "$folder32" "$shortVersion"
else
  echo "the prefix has no 32-bit half: the i686 zolvane-cli.exe is run from the x86_64 package below" >>"$logFile"
fi
check "a newer version of the package is built" newer_package "$msi32" "$files32" "${version%.*}.$((${version##*.} + 1))"
newerCode=$(property "$scratch/newer.msi" ProductCode)
check "msiexec /i installs the newer one over it" msiexec /i "$scratch/newer.msi"
check "the older one's entry is gone" gone "$uninstall32\\$code32"
check "the newer one's is there" entry "$uninstall32\\$newerCode" "DisplayName=Zolvane"
check "the seven files are there once, as packaged" same_files "$drive/Program Files (x86)/Zolvane" "$files32"
check "msiexec /x removes it" msiexec /x "$scratch/newer.msi"
check "the shortcut is gone" shortcut gone
check "no file, folder, key or value of it is left" left_as_before before32

# The x86_64 build's MSI, from the same source: the installed zolvane-cli.exe runs.
check "a snapshot of the prefix before" snapshot before64
check "msiexec /i installs the x86_64 package" msiexec /i "$msi64"
check "its seven files are in Program Files\\Zolvane, as packaged" same_files "$drive/Program Files/Zolvane" "$files64"
check "the shortcut is there" shortcut "$folder64"
check "Add or Remove Programs lists it" entry "$uninstall\\$code64" "DisplayName=Zolvane" "DisplayVersion=$version"
check "zolvane-cli.exe runs from Program Files\\Zolvane" runs_from "$folder64" "$shortVersion"
check "msiexec /x removes it" msiexec /x "$msi64"
check "its entry is gone" gone "$uninstall\\$code64"
check "no file, folder, key or value of it is left" left_as_before before64

grep FAILED "$logFile" >&2
tally_end msi "details: $logFile"
