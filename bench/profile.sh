#!/usr/bin/env bash
# Profiles Zolvane's start-up, step by step, from process creation to the first paint.
# Runs under 64-bit Wine in build/wine-xp on a private Xvfb: the profiling build's marks
# (bench/startup_profile.cpp) give each step's time from process creation to the first paint, and one run traced
# with WINEDEBUG=+timestamp,+pid,+loaddll gives the order and time of every DLL load. Writes build/profile.md;
# bench/startup_profile.md is a copy of it, committed.
# Usage: bench/profile.sh [rounds]   (medians of that many interleaved rounds, default 21)
set -euo pipefail
source "$(dirname "$0")/../scripts/env.sh"
source "$ZOLVANE_ROOT/scripts/wine-session.sh"
rounds=${1:-21}
[[ "$rounds" =~ ^[0-9]+$ ]] && [ "$rounds" -ge 1 ] || { log "rounds: a number (got '$rounds')"; exit 2; }

"$ZOLVANE_ROOT/scripts/setup.sh"
"$ZOLVANE_ROOT/scripts/build.sh" win64:startup_profile
bench="$ZOLVANE_ROOT/build/win64/bench"
out="$ZOLVANE_ROOT/build/profile.md"
trace="$ZOLVANE_ROOT/build/profile-trace.log"

wine_session_start
log "profiling, $rounds rounds"
steps=$("$WINE64" "$bench/startup_profile.exe" "$bench" "$rounds" | tr -d '\r')
log "one traced run"
once=$(WINEDEBUG=+timestamp,+pid,+loaddll "$WINE64" "$bench/startup_profile.exe" "$bench" 1 once 2>"$trace" | tr -d '\r')
pid=$(printf '%04x' "$(sed -n 's/^process //p' <<<"$once")")

# The traced process's DLL loads, in ms after its first traced line (Wine's timestamps count whole ms).
dll_rows() {
  grep -i "^[0-9.]*:$pid:[0-9a-f]*:trace:loaddll" "$trace" | awk -F: '
    NR == 1 { first = $1 }
    { line = $0; sub(/.*Loaded L"/, "", line); split(line, parts, "\" at ");
      kind = parts[2]; sub(/.*: /, "", kind);
      printf "| %.0f | %s | %s |\n", ($1 - first) * 1000, parts[1], kind }'
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)
{
  echo "# Where Zolvane's start-up time goes"
  echo
  echo "Measured on $(date -u +%Y-%m-%d) on $cpu ($(nproc) CPUs), $("$WINE64" --version), x86_64 profiling"
  echo "builds in build/wine-xp on Xvfb; medians of $rounds interleaved rounds (\`bench/profile.sh $rounds\`)."
  echo "Each step is marked where it ends (PROFILE_MARK, compiled only into bench/'s profiling builds); times count"
  echo "from the driver's CreateProcess call. The floors (one empty window; the bare controls with Zolvane's visual"
  echo "styles manifest) mark the same steps where they have them, and show what Wine costs without Zolvane's code."
  echo "$steps"
  echo
  echo "DLLs loaded by the profiling build in one run traced with WINEDEBUG=+timestamp,+pid,+loaddll (the trace"
  echo "slows the run; the times show the order and rough place of each load, in ms after the process's first"
  echo "traced line):"
  echo
  echo "| ms | DLL | kind |"
  echo "|---|---|---|"
  dll_rows
  echo
  echo "The same run's marks, in ms after process creation (slowed by the trace):"
  echo
  echo '```'
  sed '1d' <<<"$once"
  echo '```'
} >"$out"
cat "$out"
