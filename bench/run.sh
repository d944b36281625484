#!/usr/bin/env bash
# Builds what it needs and measures Zolvane beside its floors, beside Wine's notepad, regedit and winecfg, and
# zolvane-cli.exe beside reg.exe, under 64-bit Wine in build/wine-xp on a private Xvfb: start-up, the Apply round
# trip, the backup, the command line, what Zolvane's own code takes of them (the profiling build's marks), the
# exe sizes and the peak working set. Prints one table and writes it to build/bench.md.
# Usage: bench/run.sh [rounds] [--repeat N] [--all-cpus] [--figures LIST]
#   --figures: some of startup,apply,backup,cli,parse,move (perf_bench's figures), all of them by default; the
#   move rows alone take some five minutes a run.
#   rounds: medians of that many interleaved rounds, at least 15, default 21. --repeat N: the whole bench run N
#   times; a verdict is given only where the runs' ratios agree (to within 0.05), so ask for 3. Everything runs
#   on one CPU (Xvfb, wineserver and every program): spread over two, Wine's requests from one process to
#   another were fast in one run and some ten times slower in the next (Apply's own work measured 0.1 ms in one
#   run and 1.1 ms in the next, a zolvane-cli run 10 ms or 45 ms). --all-cpus lets the system place them.
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
source "$ZOLVANE_ROOT/scripts/wine-session.sh"
rounds=21
repeat=1
oneCpu=true
figures=startup,apply,backup,cli,parse,move
while [ $# -gt 0 ]; do
  case $1 in
    --repeat) repeat=${2:-}; shift 2 || { log "--repeat takes a number"; exit 2; } ;;
    --all-cpus) oneCpu=false; shift ;;
    --figures) figures=${2:-}; shift 2 || { log "--figures takes a list"; exit 2; } ;;
    *) rounds=$1; shift ;;
  esac
done
# The medians need at least 15 rounds; the driver would not run fewer, and the table says what ran.
[[ "$rounds" =~ ^[0-9]+$ ]] && [ "$rounds" -ge 15 ] || { log "rounds: at least 15 (got '$rounds'), 15 it is"; rounds=15; }
[[ "$repeat" =~ ^[0-9]+$ ]] && [ "$repeat" -ge 1 ] || { log "--repeat: a number (got '$repeat')"; exit 2; }

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

# The session's Xvfb and wineserver and every program started from here take this shell's CPU.
machineCpus=$(nproc)
cpus="all $machineCpus CPUs"
if $oneCpu; then
  taskset -p -c "$((machineCpus - 1))" $$ >/dev/null
  cpus="one CPU of $machineCpus"
fi
wine_session_start
log "measuring, $rounds rounds of each figure, $repeat run(s)"
timings=$("$WINE64" "$win64/bench/perf_bench.exe" "$win64/Zolvane.exe" "$win64/bench" "$rounds" "$repeat" "$figures" |
  tr -d '\r')

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
{
  command="bench/run.sh $rounds"
  [ "$repeat" -gt 1 ] && command+=" --repeat $repeat"
  $oneCpu || command+=" --all-cpus"
  [ "$figures" = startup,apply,backup,cli,parse,move ] || command+=" --figures $figures"
  echo "Measured on $(date -u +%Y-%m-%d) on $cpu ($cpus), $("$WINE64" --version), x86_64 build in"
  echo "build/wine-xp on Xvfb; $repeat run(s) of $rounds interleaved rounds (\`$command\`). Each figure: the median of"
  echo "every round (the lowest and highest round; the runs' medians). Ratio: of the medians (the runs' ratios)."
  echo
  echo "| Figure | Zolvane | Reference | Ratio | Target | Verdict |"
  echo "|---|---|---|---|---|---|"
  echo "$timings"
  size_row "32-bit Zolvane.exe" "$exe32" i386 5.01 300
  size_row "64-bit Zolvane.exe" "$win64/Zolvane.exe" x86-64 5.02 ""
  cli32="$ZOLVANE_ROOT/build/win32/zolvane-cli.exe"
  if [ -f "$cli32" ]; then size_row "32-bit zolvane-cli.exe" "$cli32" i386 5.01 300 console; fi
} >"$ZOLVANE_ROOT/build/bench.md"
cat "$ZOLVANE_ROOT/build/bench.md"
