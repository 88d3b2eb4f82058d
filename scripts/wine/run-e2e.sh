#!/usr/bin/env bash
# Runs the end-to-end tests of Trelox.exe under Wine with a simulated device:
# two FIFOs served by tests/win32/e2e/simulated_device.py stand behind the
# pipes of the device interface that the test program registers, reached
# through a dosdevices link of the interface path in the test prefix.
#
#   scripts/wine/run-e2e.sh TEST_PROGRAM.exe [-- ARGS...]
#
# TRELOX_DEVICE_ACK_DELAY_MS slows the device's answers to records.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
[ $# -ge 1 ] || { echo "usage: $0 TEST_PROGRAM.exe [-- ARGS...]" >&2; exit 2; }
command -v python3 >/dev/null || { echo "run-e2e: python3 is not installed" >&2; exit 2; }

# The interface path the test program registers, as Wine names it.
interface='root#treloxtest#sim0#{c0558574-212d-4625-8877-fe9c2e8ed396}'

work=$(mktemp -d "${TMPDIR:-/tmp}/trelox-e2e.XXXXXX")
device_pid=""
cleanup() {
  [ -n "$device_pid" ] && kill "$device_pid" 2>/dev/null && wait "$device_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

mkdir -p "$work/device"
mkfifo "$work/device/PIPE02" "$work/device/PIPE03"
: >"$work/device.log"
python3 "$root/tests/win32/e2e/simulated_device.py" "$work/device" "$work/device.log" \
  --ack-delay-ms "${TRELOX_DEVICE_ACK_DELAY_MS:-0}" &
device_pid=$!

export TRELOX_E2E_DEVICE_LOG="$work/device.log"
export TRELOX_WINE_PREPARE="ln -s '$work/device' \"\$WINEPREFIX/dosdevices/$interface\""
"$here/run-tests.sh" "$@"
