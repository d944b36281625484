#!/usr/bin/env bash
# The README's second command: sets up, builds, and runs every test with CTest, the one runner: the native suite,
# the same under the sanitizers, a short run of each fuzzer, the checks that Windows XP can load the exes and of
# the package, the Wine-side suite (the x86_64 build under 64-bit Wine), the 32-bit exe under 32-bit Wine and the
# 32-bit command line in the 64-bit prefix. Ends with CTest's own summary; non-zero on failure.
set -uo pipefail
source "$(dirname "$0")/env.sh"
source "$(dirname "$0")/wine-session.sh"
start=$(date +%s)

"$ZOLVANE_ROOT/scripts/setup.sh" || { echo "setup failed"; exit 1; }
"$ZOLVANE_ROOT/scripts/build.sh" || { echo "build failed"; exit 1; }

# One test tree over every build, for one run and one summary.
echo "subdirs($(build_trees | sed 's/.*/"&"/' | paste -sd' '))" >"$ZOLVANE_ROOT/build/CTestTestfile.cmake"
# One registry and one desktop: the Wine-side tests run one at a time (RUN_SERIAL), beside the others.
wine_session_start || { echo "no Xvfb or Wine session"; exit 1; }
timeout 1700 ctest --test-dir "$ZOLVANE_ROOT/build" --output-on-failure --timeout 300 -j"$(nproc)" \
  2>&1 | tee "$ZOLVANE_ROOT/build/tests.log"
status=${PIPESTATUS[0]}
wine_session_stop
trap - EXIT

# Where the fifteen folders live in the prefix, as Zolvane reads them.
sed -n '/^Where the fifteen folders live/,/passed, [0-9]* failed$/p' \
  "$ZOLVANE_ROOT/build/Testing/Temporary/LastTest.log" | sed '$d'
# What this machine could not run, each in its one line: those tests count as skipped, never as passed.
grep -h -E '^(win32|wow64): skipped' "$ZOLVANE_ROOT/build/Testing/Temporary/LastTest.log" | sort -u
skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$ZOLVANE_ROOT/build/tests.log" | paste -sd' ')
echo "All suites ($(( $(date +%s) - start )) s): $(grep -E 'tests passed, [0-9]+ tests? failed' \
  "$ZOLVANE_ROOT/build/tests.log" | tail -n1)${skipped:+; skipped, not passed: $skipped}"
exit "$status"
