#!/usr/bin/env bash
# Runs trelox under valgrind memcheck for one whole download of the sample
# firmware into trelox-devsim (through the programming phase), and once more
# for a download that ends in a transfer error. Any memcheck error or a
# definite or indirect leak fails the step. TRELOX_BUILD_DIR names the native
# build to use (build/default, built by the test command before this step).
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${TRELOX_BUILD_DIR:-build/default}
trelox="$build/src/trelox"
devsim="$build/tools/devsim/trelox-devsim"
if [ ! -x "$trelox" ] || [ ! -x "$devsim" ]; then
  cmake --preset default >/dev/null && cmake --build --preset default -j "${TRELOX_JOBS:-2}" --target trelox trelox-devsim \
    >/dev/null || exit 1
fi

source scripts/lib/private-bus.sh
private_bus vg
cp tools/devsim/sample/firmware.s19 "$work/firmware.s19"

status=0
# run NAME EXPECTED-EXIT DEVSIM-OPTIONS...: one download under memcheck.
run() {
  local name=$1 expected=$2
  shift 2
  # The device leaves late enough for the slowed program to have its status
  # window up.
  start_devsim "$devsim" --log="$work/devsim.log" --leave-delay=1500 --program-time=300 "$@"
  local t0=$(date +%s)
  timeout 300 valgrind --tool=memcheck --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect \
    --errors-for-leak-kinds=definite,indirect --log-file="$work/$name.memcheck" \
    "$trelox" "$work/firmware.s19" </dev/null >"$work/$name.out" 2>&1
  local rc=$?
  stop_devsim
  local summary
  summary=$(grep -E 'ERROR SUMMARY|definitely lost|indirectly lost|in use at exit' "$work/$name.memcheck" |
            sed -E 's/^==[0-9]+== +//' | tr '\n' ';')
  echo "$name: exit $rc (expected $expected), $(( $(date +%s) - t0 )) s; $summary"
  if [ "$rc" -ne "$expected" ]; then
    status=1
    sed -n '1,200p' "$work/$name.memcheck" | grep -vE '^==[0-9]+== *$' | head -n 60
    tail -n 5 "$work/$name.out"
  fi
}

run programmed 0
run transfer-error 5 --fault=record=20,write-error=31
exit "$status"
