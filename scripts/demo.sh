#!/usr/bin/env bash
# The main job against a simulated device: builds trelox and trelox-devsim,
# presents one device on a private bus, and programs the sample firmware into it.
# Extra arguments go to trelox (default: the sample flash file).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j"${TRELOX_JOBS:-2}" --target trelox trelox-devsim >/dev/null
build=build/default
source scripts/lib/private-bus.sh
private_bus demo
start_devsim "$build/tools/devsim/trelox-devsim" >"$work/devsim.log" 2>&1
if [ $# -eq 0 ]; then
  set -- tools/devsim/sample/firmware.s19
fi
set +e
"$build/src/trelox" "$@"
status=$?
set -e
echo "trelox exit status: $status"
exit "$status"
