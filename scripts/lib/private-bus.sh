# shellcheck shell=bash
# Sourced by the scripts that run the program against trelox-devsim: a private
# work directory with a bus and a lock directory, and the simulator started on
# that bus and stopped again.

# private_bus NAME: makes $work (/tmp/trx-NAME-XXXXXX) with bus/ and locks/ in
# it, points the program at them, and removes it all, the simulator stopped,
# when the script ends. A script with more to clean up sets its own EXIT trap
# and calls private_bus_cleanup from it.
private_bus() {
  work=$(mktemp -d "/tmp/trx-$1-XXXXXX")
  devsim_pid=
  mkdir -p "$work/bus" "$work/locks"
  export TRELOX_USB_BUS="$work/bus" TRELOX_LOCK_DIR="$work/locks"
  trap private_bus_cleanup EXIT
}

private_bus_cleanup() {
  stop_devsim
  rm -rf "$work"
}

# start_devsim DEVSIM OPTIONS...: DEVSIM (the trelox-devsim executable) on the
# private bus in the background, its process id in $devsim_pid; returns once
# it is ready, or after 5 s.
start_devsim() {
  local devsim=$1
  shift
  rm -f "$work/ready"
  "$devsim" --bus="$work/bus" --ready-file="$work/ready" "$@" &
  devsim_pid=$!
  for _ in $(seq 100); do [ -e "$work/ready" ] && break; sleep 0.05; done
}

stop_devsim() {
  if [ -n "${devsim_pid:-}" ]; then
    kill "$devsim_pid" 2>/dev/null || true
    wait "$devsim_pid" 2>/dev/null || true
  fi
  devsim_pid=
}
