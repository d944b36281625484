#!/usr/bin/env bash
# Builds what it needs and measures Zolvane beside its floors and beside Wine's notepad, regedit and winecfg under
# 64-bit Wine in build/wine-xp on a private Xvfb: start-up, the Apply round trip, the backup, the exe sizes and
# the peak working set. Prints one table and writes it to build/bench.md. zolvane-cli.exe's size row appears once
# build/win32/zolvane-cli.exe exists.
# Usage: bench/run.sh [rounds]   (medians of that many interleaved rounds; at least 15, default 21)
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
source "$ZOLVANE_ROOT/scripts/wine-session.sh"
rounds=${1:-21}
# The medians need at least 15 rounds; the driver would not run fewer, and the table says what ran.
[[ "$rounds" =~ ^[0-9]+$ ]] && [ "$rounds" -ge 15 ] || { log "rounds: at least 15 (got '$rounds'), 15 it is"; rounds=15; }

"$ZOLVANE_ROOT/scripts/setup.sh"
"$ZOLVANE_ROOT/scripts/build.sh" win32 win64
exe32="$ZOLVANE_ROOT/build/win32/Zolvane.exe"
win64="$ZOLVANE_ROOT/build/win64"

# The sizes, and whether each exe imports only from Windows XP's own DLLs (the list the tests check against).
size_row() {  # label exe machine maxVersion targetKb [subsystem: windows or console]
  local kb verdict check imports status=0
  kb=$(( ($(stat -c %s "$2") + 1023) / 1024 ))
  check=$("$ZOLVANE_ROOT/scripts/check-pe.sh" "$2" "$3" "$4" ${6:+"$6"}) || status=$?
  imports=$(tail -n1 <<<"$check" | grep -o '[0-9]* imports from [0-9]* DLLs' || true)
  [ "$status" -eq 0 ] && imports="$imports, all Windows' own" || imports="$imports, NOT all Windows' own"
  verdict=""
  if [ -n "$5" ]; then
    [ "$kb" -le "$5" ] && [ "$status" -eq 0 ] && verdict="met" || verdict="not met"
    echo "| $1 ($imports) | $kb KB | | | <= $5 KB | $verdict |"
  else
    echo "| $1 ($imports) | $kb KB | | | | |"
  fi
}

wine_session_start
log "measuring, $rounds rounds of each figure"
timings=$("$WINE64" "$win64/bench/perf_bench.exe" "$win64/Zolvane.exe" "$win64/bench" "$rounds" | tr -d '\r')

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
{
  echo "Measured on $(date -u +%Y-%m-%d) on $cpu ($(nproc) CPUs), $("$WINE64" --version), x86_64 build in"
  echo "build/wine-xp on Xvfb; medians of $rounds interleaved rounds (\`bench/run.sh $rounds\`)."
  echo
  echo "| Figure | Zolvane | Reference | Ratio | Target | Met |"
  echo "|---|---|---|---|---|---|"
  echo "$timings"
  size_row "32-bit Zolvane.exe" "$exe32" i386 5.01 300
  size_row "64-bit Zolvane.exe" "$win64/Zolvane.exe" x86-64 5.02 ""
  cli32="$ZOLVANE_ROOT/build/win32/zolvane-cli.exe"
  if [ -f "$cli32" ]; then size_row "32-bit zolvane-cli.exe" "$cli32" i386 5.01 300 console; fi
} >"$ZOLVANE_ROOT/build/bench.md"
cat "$ZOLVANE_ROOT/build/bench.md"
