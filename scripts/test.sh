#!/usr/bin/env bash
# Builds and runs every test: the native build, the sanitizer build, and the
# Windows build under Wine, then the checks that guard against crashes and hangs
# and Linux's own USB stack in a virtual machine. The native Release build is
# built as a packager builds it (the plain commands, their generator, -O3),
# with warnings as errors; it is not run.
# Ends with one line "N passed, N failed" over every step, the tests that ctest
# ran and the cases that a check counted.
set -uo pipefail
cd "$(dirname "$0")/.."
export CTEST_OUTPUT_ON_FAILURE=1
jobs=${TRELOX_JOBS:-2}
passed=0
failed=0
failures=()
started=$(date +%s)

step() {  # step NAME COMMAND...: runs one step, counts it, prints its time
  local name=$1; shift
  local t0=$(date +%s)
  echo "=== $name"
  if "$@"; then
    echo "=== $name: ok ($(( $(date +%s) - t0 )) s)"
  else
    echo "=== $name: FAILED ($(( $(date +%s) - t0 )) s)"
    failures+=("$name")
  fi
}

ctest_step() {  # ctest_step PRESET: runs a preset's tests and adds their counts
  local preset=$1 log
  log=$(mktemp)
  ctest --preset "$preset" -j"$jobs" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$line" ]; then
    local total bad
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$(( passed + total - bad ))
    failed=$(( failed + bad ))
  fi
  rm -f "$log"
  return "$rc"
}

check_step() {  # check_step SCRIPT: runs a check; one that has cases of its own
  # writes "N passed, N failed" to the file $TRELOX_CHECK_COUNTS names, and they count
  local counts rc line
  counts=$(mktemp)
  TRELOX_CHECK_COUNTS=$counts "$1"
  rc=$?
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$counts" | tail -n 1)
  if [ -n "$line" ]; then
    passed=$(( passed + $(cut -d' ' -f1 <<<"$line") ))
    failed=$(( failed + $(cut -d' ' -f3 <<<"$line") ))
  fi
  rm -f "$counts"
  return "$rc"
}

build() {  # build PRESET
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j"$jobs"
}

plain_release_build() {  # a packager's Release build, in a folder of its own
  cmake -S . -B build/release-check -DCMAKE_BUILD_TYPE=Release -DTRELOX_WERROR=ON >/dev/null &&
    cmake --build build/release-check -j"$jobs"
}

step "native build" build default
step "native tests" ctest_step default
step "release build" plain_release_build
step "sanitizer build" build asan
step "sanitizer tests" ctest_step asan
step "windows build" build mingw
step "windows tests under wine" ctest_step mingw
for extra in scripts/checks/*.sh; do
  [ -x "$extra" ] || continue
  step "$(basename "$extra" .sh)" check_step "$extra"
done

for f in "${failures[@]}"; do
  echo "failed step: $f"
  failed=$(( failed + 1 ))
done
echo "total time: $(( $(date +%s) - started )) s"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
