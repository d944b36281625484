#!/usr/bin/env bash
# Sets up, builds all three builds, and runs every test: the native suite, then the Wine-side suite
# (the x86_64 build under 64-bit Wine on a private Xvfb). Ends with one summary line; non-zero on failure.
set -uo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/wine-session.sh"
start=$(date +%s)

"$ZOLVANE_ROOT/scripts/setup.sh" || { echo "setup failed"; exit 1; }
"$ZOLVANE_ROOT/scripts/build.sh" || { echo "build failed"; exit 1; }

passed=0
failed=0
count() {  # ctest's log -> adds to passed/failed
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

log "native suite"
ctest --test-dir "$ZOLVANE_ROOT/build/host" --output-on-failure --timeout 120 -j"$(nproc)" \
  2>&1 | tee "$ZOLVANE_ROOT/build/host-tests.log"
count "$ZOLVANE_ROOT/build/host-tests.log"

log "Wine-side suite"
if wine_session_start; then
  # One registry and one desktop: these tests run one at a time.
  timeout 1500 ctest --test-dir "$ZOLVANE_ROOT/build/win64" --output-on-failure --timeout 300 \
    2>&1 | tee "$ZOLVANE_ROOT/build/win64-tests.log"
  count "$ZOLVANE_ROOT/build/win64-tests.log"
  # Where the fifteen folders live in the prefix, as Zolvane reads them.
  sed -n '/^Where the fifteen folders live/,/passed, [0-9]* failed$/p' \
    "$ZOLVANE_ROOT/build/win64/Testing/Temporary/LastTest.log" | sed '$d'
  wine_session_stop
else
  failed=$((failed + 1))
fi

echo "All suites ($(( $(date +%s) - start )) s):"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
