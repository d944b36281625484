#!/usr/bin/env bash
# Runs the exe a user takes to Windows XP, build/win32/Zolvane.exe, under 32-bit Wine in the Windows XP
# prefix build/wine-xp32 (on the session's display, or a private Xvfb): the end-to-end scenarios named as its
# arguments (CTest passes those the scenarios mark for 32-bit), through the i686 build of the driver; then
# build/win32/zolvane-cli.exe lists the fifteen folders. Ends with one line, "win32: N passed, N failed"
# (one count per scenario, the command line's list one more) or "win32: skipped: ..."; non-zero when a
# scenario failed. Details: build/win32-e2e.log.
# ZOLVANE_WIN32_EMULATE=1 runs under qemu-i386 even where the kernel runs 32-bit code itself.
set -uo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/env-wine32.sh"
source "$(dirname "$0")/wine-session.sh"
source "$(dirname "$0")/tally.sh"
start=$(date +%s)
logFile="$ZOLVANE_ROOT/build/win32-e2e.log"
exe="$ZOLVANE_ROOT/build/win32/Zolvane.exe"
driver="$ZOLVANE_ROOT/build/win32/tests/e2e/zolvane_e2e.exe"
cli="$ZOLVANE_ROOT/build/win32/zolvane-cli.exe"
scenarios=("$@")
# The scenarios and the command line's list.
total=$((${#scenarios[@]} + 1))
# Emulated, a scenario takes several times as long as under 64-bit Wine; the whole run stays bounded.
perScenario=${ZOLVANE_WIN32_SCENARIO_SECONDS:-180}
budget=${ZOLVANE_WIN32_BUDGET_SECONDS:-480}

mkdir -p "$(dirname "$logFile")"
: >"$logFile"
setupOutput=$("$ZOLVANE_ROOT/scripts/setup-wine32.sh" 2>>"$logFile")
setupStatus=$?
if [ "$setupStatus" -eq 0 ] && grep -q '^win32: skipped' <<<"$setupOutput"; then
  grep '^win32: skipped' <<<"$setupOutput"
  exit 0
fi
if [ "$setupStatus" -ne 0 ]; then
  echo "$setupOutput" >>"$logFile"
  echo "win32: 0 passed, $total failed (32-bit Wine could not be set up; see $logFile)"
  exit 1
fi
for file in "$exe" "$driver" "$cli"; do
  [ -f "$file" ] && continue
  echo "win32: 0 passed, $total failed ($file is missing)"
  exit 1
done

how="natively"
grep -qs '^interpreter .*qemu' /proc/sys/fs/binfmt_misc/qemu-i386 && how="under qemu-i386"

# A scenario ended by the timeout cannot put back what it changed: the registry is restored from here.
saved=$(mktemp -d)
cp "$WINEPREFIX"/*.reg "$saved/"
timedOut=false

if ! wine_session_start >>"$logFile" 2>&1; then
  echo "win32: 0 passed, $total failed (no Xvfb or Wine session; see $logFile)"
  rm -rf "$saved"
  exit 1
fi
for scenario in "${scenarios[@]}"; do
  left=$((budget - ($(date +%s) - start)))
  if [ "$left" -le 10 ]; then
    echo "$scenario: not run, the ${budget} s budget is spent" >>"$logFile"
    tally 1
    continue
  fi
  limit=$((left < perScenario ? left : perScenario))
  began=$(date +%s)
  echo "== $scenario" >>"$logFile"
  timeout -k 10 "$limit" "$WINE32" "$driver" "$scenario" "$exe" </dev/null >>"$logFile" 2>&1
  status=$?
  [ "$status" -eq 124 ] || [ "$status" -eq 137 ] && { timedOut=true; echo "(ended after $limit s)" >>"$logFile"; }
  echo "$scenario: exit $status, $(( $(date +%s) - began )) s" >>"$logFile"
  tally "$status"
done
# The command line, as a script on Windows XP starts it: "list" prints the fifteen folders, one a line.
echo "== zolvane-cli list" >>"$logFile"
left=$((budget - ($(date +%s) - start)))
listing=$(timeout -k 10 "$((left > 10 ? left : 10))" "$WINE32" "$cli" list </dev/null 2>>"$logFile")
status=$?
echo "$listing" >>"$logFile"
lines=$(grep -c $'\r$' <<<"$listing")
echo "zolvane-cli list: exit $status, $lines lines" >>"$logFile"
[ "$status" -eq 0 ] && [ "$lines" -eq 15 ]
tally $?
wine_session_stop
trap - EXIT
if $timedOut; then cp "$saved"/*.reg "$WINEPREFIX/"; fi
rm -rf "$saved"

tally_end win32 "$how, $(( $(date +%s) - start )) s"
