#!/usr/bin/env bash
# Writes docs/main-dialog.txt: the main dialog as it looks in an 80 x 30
# terminal, after its five identity items have been read from a simulated
# device, with the sample flash file entered (trelox /I FILE in tmux).
# TRELOX_BUILD_DIR names a build to use as it is; without it the default
# preset is built first.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TRELOX_BUILD_DIR:-}
if [ -z "$build" ]; then
  cmake --preset default >/dev/null
  cmake --build --preset default -j"${TRELOX_JOBS:-2}" --target trelox trelox-devsim >/dev/null
  build=build/default
fi
source scripts/lib/private-bus.sh
private_bus capture
socket="$work/tmux"
cleanup() {
  tmux -S "$socket" kill-server 2>/dev/null || true
  private_bus_cleanup
}
trap cleanup EXIT
start_devsim "$build/tools/devsim/trelox-devsim" >"$work/devsim.log" 2>&1

screen() { tmux -S "$socket" capture-pane -p; }
wait_for() {
  for _ in $(seq 100); do screen | grep -qF -- "$1" && return 0; sleep 0.05; done
  echo "capture-main-dialog: \"$1\" did not appear" >&2
  screen >&2
  exit 1
}

tmux -f /dev/null -S "$socket" new-session -d -x 80 -y 30 \
  "env LANG=C.UTF-8 $build/src/trelox /I tools/devsim/sample/firmware.s19; sleep 600"
wait_for "Seriennummer:"
# Each item: Tab to its field, Tab to its "?", Space; then back to "Schließen".
for answer in "[SIM0001" "[DEVSIM-1" "[Trelox devsim" "[1.00" "[0 "; do
  tmux -S "$socket" send-keys Tab Tab Space
  wait_for "$answer"
done
tmux -S "$socket" send-keys Tab Tab Tab Tab
wait_for "> Schließen <"
screen >docs/main-dialog.txt
tmux -S "$socket" send-keys Enter
echo "docs/main-dialog.txt written"
