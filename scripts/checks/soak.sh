#!/usr/bin/env bash
# Soak: one process of the program's code downloads a small flash file 2,000
# times back to back into one trelox-devsim (every 200th through the device's
# programming phase) and then makes 100,000 identity queries, sampling its open
# descriptors and resident memory at the start and at the end. Fails when a
# download or query ends otherwise than expected, when descriptors or memory
# grow, or when the run takes more than 5 minutes. TRELOX_BUILD_DIR names the
# native build to use (build/default, built by the test command before this
# step); TRELOX_SOAK_DOWNLOADS and TRELOX_SOAK_QUERIES shrink the run.
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${TRELOX_BUILD_DIR:-build/default}
driver="$build/tests/integration/trelox_soak"
devsim="$build/tools/devsim/trelox-devsim"
downloads=${TRELOX_SOAK_DOWNLOADS:-2000}
queries=${TRELOX_SOAK_QUERIES:-100000}
if [ ! -x "$driver" ] || [ ! -x "$devsim" ]; then
  cmake --preset default >/dev/null && cmake --build --preset default -j "${TRELOX_JOBS:-2}" \
    --target trelox_soak trelox-devsim >/dev/null || exit 1
fi

source scripts/lib/private-bus.sh
private_bus soak
printf 'S00600004844521B\r\nS1130000285F245F2212226A000424290008237C2A\r\nS11300100002000800082629001853812341001813\r\n' \
  >"$work/small.s19"
cp "$work/small.s19" "$work/programmed.s19"
printf 'S9030000FC\r\n' >>"$work/programmed.s19"

start_devsim "$devsim" --log=/dev/null --leave-delay=300 --program-time=100
devsim_start=$(ls /proc/"$devsim_pid"/fd | wc -l)
devsim_rss_start=$(awk '/VmRSS/ {print $2}' /proc/"$devsim_pid"/status)

t0=$(date +%s)
timeout 300 "$driver" "$work/small.s19" "$work/programmed.s19" "$downloads" "$queries" >/dev/null 2>"$work/figures"
rc=$?
cat "$work/figures"
echo "soak: trelox-devsim descriptors $devsim_start at the start, $(ls /proc/"$devsim_pid"/fd | wc -l) at the end;" \
  "resident memory $devsim_rss_start KiB at the start, $(awk '/VmRSS/ {print $2}' /proc/"$devsim_pid"/status) KiB at the end"
echo "soak: exit $rc, $(( $(date +%s) - t0 )) s"
[ "$rc" -eq 0 ]
