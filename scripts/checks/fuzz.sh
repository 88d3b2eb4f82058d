#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/, libFuzzer with AddressSanitizer and UBSan, clang)
# and runs each for a bounded time from its seed corpus. A crash, a leak, a
# sanitizer report or a failed check fails the step; the input that did it is
# kept in build/fuzz/findings/. TRELOX_FUZZ_SECONDS sets the time per target (30).
set -uo pipefail
cd "$(dirname "$0")/../.."
build=build/fuzz
seconds=${TRELOX_FUZZ_SECONDS:-30}
jobs=${TRELOX_JOBS:-2}

cmake -S fuzz -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
mapfile -t targets < <(cd fuzz && ls Fuzz*.cpp | sed 's/\.cpp$//')
cmake --build "$build" -j "$jobs" --target "${targets[@]}" >/dev/null || {
  cmake --build "$build" -j 1 --target "${targets[@]}" 2>&1 | tail -n 30
  exit 1
}

status=0
mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  work=$(mktemp -d)
  log="$build/findings/$target.log"
  t0=$(date +%s)
  # New inputs go to the scratch folder; the seed corpus stays as checked in.
  (cd "$build/findings" && timeout $(( seconds + 60 )) "../$target" -max_total_time="$seconds" -max_len=512 \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work" "../../../fuzz/corpus/$target") >"$log" 2>&1
  rc=$?
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+).*/\1/p' "$log" | tail -n 1)
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1)
  if [ "$rc" -eq 0 ]; then
    echo "$target: ${runs:-?} runs, ${cov:-cov: ?}, $(( $(date +%s) - t0 )) s, no finding"
  else
    echo "$target: FAILED (exit $rc) after $(( $(date +%s) - t0 )) s; see $log"
    grep -E 'ERROR|broken|runtime error|SUMMARY|Test unit written' "$log" | head -n 10
    status=1
  fi
  rm -rf "$work"
done
exit "$status"
