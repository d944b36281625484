#!/usr/bin/env bash
# Sets up, builds, and runs every test: the native suite, the same under the sanitizers, a short run of
# each fuzzer, then the Wine-side suite (the x86_64 build under 64-bit Wine on a private Xvfb).
# Ends with one summary line; non-zero on failure.
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

count_script() {  # a script of ours that ends with "NAME: N passed, N failed" or "NAME: skipped: ..."
  local line
  line=$("$ZOLVANE_ROOT/scripts/$1" | tail -n1)
  echo "$line"
  if [[ $line =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
    passed=$((passed + BASH_REMATCH[1])) failed=$((failed + BASH_REMATCH[2]))
  elif [[ $line != *skipped* ]]; then failed=$((failed + 1)); fi
}

log "native suite"
ctest --test-dir "$ZOLVANE_ROOT/build/host" --output-on-failure --timeout 120 -j"$(nproc)" \
  2>&1 | tee "$ZOLVANE_ROOT/build/host-tests.log"
count "$ZOLVANE_ROOT/build/host-tests.log"

log "Windows XP can load the exes"
for exe in "win32/Zolvane.exe i386 5.01 windows" "win64/Zolvane.exe x86-64 5.02 windows" \
  "win32/zolvane-cli.exe i386 5.01 console" "win64/zolvane-cli.exe x86-64 5.02 console"; do
  set -- $exe
  if "$ZOLVANE_ROOT/scripts/check-pe.sh" "$ZOLVANE_ROOT/build/$1" "$2" "$3" "$4"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
  fi
done

log "the package holds both programs, the README and the licence"
package="$ZOLVANE_ROOT/build/package/Zolvane-2.0-win32.zip"
listing=$(cmake -E tar tf "$package" 2>/dev/null | LC_ALL=C sort | tr '\n' ' ')
expected="Zolvane-2.0-win32/LICENSE.txt Zolvane-2.0-win32/README.txt Zolvane-2.0-win32/Zolvane.exe Zolvane-2.0-win32/zolvane-cli.exe "
if [ "$listing" = "$expected" ] && (cd "$(dirname "$package")" && sha256sum -c --quiet "$(basename "$package").sha256"); then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
  echo "$package holds: ${listing:-nothing}"
fi

log "native suite with AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir "$ZOLVANE_ROOT/build/asan" --output-on-failure --timeout 300 -j"$(nproc)" \
  2>&1 | tee "$ZOLVANE_ROOT/build/asan-tests.log" | tail -n 3
count "$ZOLVANE_ROOT/build/asan-tests.log"

log "fuzzing, ${ZOLVANE_FUZZ_SECONDS:-15} s a target"
for target in expand_path stored_value text_file registry_file; do
  corpus="$ZOLVANE_ROOT/build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  if "$ZOLVANE_ROOT/build/fuzz/tests/fuzz/${target}_fuzz" -max_total_time="${ZOLVANE_FUZZ_SECONDS:-15}" \
    -max_len=4096 -timeout=10 -rss_limit_mb=2048 "$corpus" "$ZOLVANE_ROOT/tests/fuzz/corpus/$target" \
    >"$ZOLVANE_ROOT/build/fuzz-$target.log" 2>&1; then
    passed=$((passed + 1))
    log "$target: $(grep -E '^Done [0-9]+ runs' "$ZOLVANE_ROOT/build/fuzz-$target.log")"
  else
    failed=$((failed + 1))
    tail -n 30 "$ZOLVANE_ROOT/build/fuzz-$target.log"
  fi
done

log "Wine-side suite"
if wine_session_start; then
  # One registry and one desktop: these tests run one at a time.
  timeout 1500 ctest --test-dir "$ZOLVANE_ROOT/build/win64" --output-on-failure --timeout 300 \
    2>&1 | tee "$ZOLVANE_ROOT/build/win64-tests.log"
  count "$ZOLVANE_ROOT/build/win64-tests.log"
  # Where the fifteen folders live in the prefix, as Zolvane reads them.
  sed -n '/^Where the fifteen folders live/,/passed, [0-9]* failed$/p' \
    "$ZOLVANE_ROOT/build/win64/Testing/Temporary/LastTest.log" | sed '$d'
  grep -h -E '^seed [0-9]+' "$ZOLVANE_ROOT/build/win64/Testing/Temporary/LastTest.log" | sed 's/^/random paths: /'
  wine_session_stop
else
  failed=$((failed + 1))
fi

log "the 32-bit exe under 32-bit Wine, Windows XP"
count_script test-win32.sh

log "the 32-bit command line in the 64-bit prefix, as on Windows XP x64"
count_script test-wow64.sh

echo "All suites ($(( $(date +%s) - start )) s):"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
