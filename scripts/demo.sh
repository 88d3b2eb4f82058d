#!/usr/bin/env bash
# The main job against a simulated device: builds trelox and trelox-devsim,
# presents one device on a private bus, and programs the sample firmware into it.
# Extra arguments go to trelox (default: the sample flash file).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j"${TRELOX_JOBS:-2}" --target trelox trelox-devsim >/dev/null
build=build/default
work=$(mktemp -d)
export TRELOX_USB_BUS="$work/bus" TRELOX_LOCK_DIR="$work/locks"
"$build/tools/devsim/trelox-devsim" --ready-file "$work/ready" >"$work/devsim.log" 2>&1 &
sim=$!
cleanup() { kill "$sim" 2>/dev/null; wait "$sim" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 100); do [ -e "$work/ready" ] && break; sleep 0.05; done
if [ $# -eq 0 ]; then
  set -- tools/devsim/sample/firmware.s19
fi
set +e
"$build/src/trelox" "$@"
status=$?
set -e
echo "trelox exit status: $status"
exit "$status"
