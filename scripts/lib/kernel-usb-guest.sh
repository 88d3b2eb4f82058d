#!/bin/bash
# The guest of scripts/checks/kernel-usb.sh: its first process after the
# initramfs. Brings up what a Debian machine has (configfs, devpts, udev),
# then runs the cases: trelox-devsim --gadget plays the devices on
# dummy_hcd's controllers, trelox programs them through the real usbfs.
# Each case writes "PASS NAME" or "FAIL NAME: what went wrong" to
# /mnt/out/results, its output to /mnt/out/NAME.log; "END" closes the list.
set -u
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 TERM=xterm
out=/mnt/out
# shellcheck disable=SC1091
. "$out/env"
results=$out/results

power_off() {
  sync
  echo o >/proc/sysrq-trigger
  sleep 30
}
trap power_off EXIT

mount -t tmpfs tmpfs /run
mkdir -p /run/lock /run/udev /dev/pts /dev/shm
mount -t devpts -o gid=5,mode=620 devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t configfs configfs /sys/kernel/config
/lib/systemd/systemd-udevd --daemon
udevadm trigger --action=add >/dev/null 2>&1
udevadm settle -t 30

work=/tmp/kernel-usb
rm -rf "$work"
mkdir -p "$work/locks" "$work/locks-tech"
chmod 1777 "$work" "$work/locks" "$work/locks-tech"
cp "$FIRMWARE" "$work/firmware.s19"
chmod 644 "$work/firmware.s19"
firmware=$work/firmware.s19
export TRELOX_LOCK_DIR=$work/locks
# A technician's account: not root, in the group the rule's group variant names.
echo "tech:x:4242:4242::/tmp/kernel-usb:/bin/sh" >>/etc/passwd
echo "tech:x:4242:" >>/etc/group
sed -i 's/^plugdev:x:46:.*/&,tech/; s/^plugdev:x:46:,tech/plugdev:x:46:tech/' /etc/group

# --- helpers -----------------------------------------------------------------
declare -A devsim_pids
why=""

expect() {  # expect WHAT COMMAND...: notes WHAT when the command fails
  local what=$1
  shift
  "$@" || why+="$what; "
}

has() { grep -qF -- "$2" "$1"; }
lacks() { ! grep -qF -- "$2" "$1"; }
count() { grep -cF -- "$2" "$1"; }

devsim_start() {  # devsim_start TAG ARGS...: a trelox-devsim --gadget, waited for until ready
  local tag=$1 waited=0
  shift
  rm -f "$work/$tag.ready"
  "$DEVSIM" --gadget --log="$out/$tag.devsim.log" --ready-file="$work/$tag.ready" "$@" \
    2>>"$out/$tag.devsim.log" &
  devsim_pids[$tag]=$!
  while [ ! -f "$work/$tag.ready" ] && [ "$waited" -lt 150 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  udevadm settle -t 10
  [ -f "$work/$tag.ready" ] || why+="$tag was not ready within 15 s; "
}

devsim_stop() {  # devsim_stop TAG: SIGTERM, as a technician's Ctrl-C would end it
  local pid=${devsim_pids[$1]:-}
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  unset "devsim_pids[$1]"
}

devsim_stop_all() {
  local tag
  for tag in "${!devsim_pids[@]}"; do devsim_stop "$tag"; done
}

wait_for_line() {  # wait_for_line FILE TEXT SECONDS
  local waited=0
  while ! grep -qF -- "$2" "$1" 2>/dev/null && [ "$waited" -lt $(($3 * 10)) ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  grep -qF -- "$2" "$1" 2>/dev/null
}

rc=0
started_ms=0
elapsed_ms=0
trelox_run() {  # trelox_run TAG DEVICES ARGS...: direct mode without a terminal; sets rc, elapsed_ms
  local tag=$1 devices=$2
  shift 2
  started_ms=$(date +%s%3N)
  TRELOX_USB_DEVICES=$devices timeout 90 "$TRELOX" "$@" </dev/null >"$out/$tag.out" 2>&1
  rc=$?
  elapsed_ms=$(($(date +%s%3N) - started_ms))
  return "$rc"
}

# The status the kernel gave the failed bulk transfer, from libusb's debug log
# (LIBUSB_DEBUG=4): what the real stack reports, noted in the results. The
# cancelled reads that empty the pipe when the link opens (-2) are not it.
urb_status() {
  sed -n 's/.*handling completion status \(-[0-9]*\) of bulk urb.*/\1/p' "$out/$1.out" | grep -vx -- -2 | head -n 1
}

# Whether a read was cancelled (-2) at least 4.5 s after trelox started: the
# read given up at the time-out, not one of those at the opening.
cancelled_late() {
  awk '/handling completion status -2 of bulk urb/ { sub(/\]/, "", $2); if ($2 + 0 >= 4.5) found = 1 }
       END { exit !found }' "$out/$1.out"
}

gadgets_left() { ls /sys/kernel/config/usb_gadget; grep functionfs /proc/mounts; }
nothing_left() { [ -z "$(gadgets_left)" ]; }

run_case() {  # run_case NAME: runs case_NAME, then ends its devices and notes the result
  local name=$1 t0
  t0=$(date +%s)
  why=""
  "case_$name" >>"$out/$name.log" 2>&1
  devsim_stop_all
  if [ -z "$why" ]; then
    echo "PASS $name ($(( $(date +%s) - t0 )) s)" >>"$results"
  else
    echo "FAIL $name: $why" >>"$results"
  fi
}

# --- cases -------------------------------------------------------------------

# A whole download: the device leaves to program itself and comes back, and
# trelox ends with 0; the gadget is then removed without a trace.
case_download() {
  devsim_start dl --program-time=1000
  lsusb -d 1234:5678 >"$out/download.lsusb" 2>&1
  expect "lsusb does not show 1234:5678" has "$out/download.lsusb" "ID 1234:5678"
  trelox_run download 1234:5678 "$firmware"
  expect "exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "no 'Programmierung beendet.'" has "$out/download.out" "Programmierung beendet."
  expect "the device did not leave" has "$out/dl.devsim.log" "leave reason=programming"
  expect "the device did not come back" [ "$(count "$out/dl.devsim.log" " arrive ")" -eq 2 ]
  devsim_stop dl
  expect "left in configfs or mounted: $(gadgets_left | tr '\n' ' ')" nothing_left
}

# The five identity queries in dialog mode, in a terminal (tmux).
case_identity_dialog() {
  devsim_start id
  local socket=$work/tmux screen
  local tmux=(tmux -f /dev/null -S "$socket")
  "${tmux[@]}" new-session -d -x 80 -y 30 \
    "TRELOX_USB_DEVICES=1234:5678 $TRELOX; echo EXIT=\$?; sleep 600"
  screen_has() {
    local waited=0
    while [ "$waited" -lt 100 ]; do
      "${tmux[@]}" capture-pane -p >"$work/screen" 2>/dev/null
      grep -qF -- "$1" "$work/screen" && return 0
      sleep 0.1
      waited=$((waited + 1))
    done
    cat "$work/screen"
    return 1
  }
  expect "no main dialog" screen_has "Seriennummer:"
  expect "the focus is not on Schließen" screen_has "> Schließen <"
  for answer in "[SIM0001 " "[DEVSIM-1 " "[Trelox devsim " "[1.00 " "[0 "; do
    "${tmux[@]}" send-keys Tab Tab Space
    expect "no answer $answer" screen_has "$answer"
  done
  for letter in S P M V E; do
    expect "query $letter not made once" [ "$(count "$out/id.devsim.log" "query=$letter")" -eq 1 ]
  done
  local tabs=0
  "${tmux[@]}" capture-pane -p >"$work/screen"
  while ! grep -qF "> Schließen <" "$work/screen" && [ "$tabs" -lt 24 ]; do
    "${tmux[@]}" send-keys Tab
    sleep 0.2
    "${tmux[@]}" capture-pane -p >"$work/screen"
    tabs=$((tabs + 1))
  done
  "${tmux[@]}" send-keys Enter
  expect "dialog mode did not end with 0" screen_has "EXIT=0"
  "${tmux[@]}" kill-server 2>/dev/null
}

# Refusals: a record refused once and one refused twice are sent again and
# taken; a record refused three times ends the download.
case_refusals() {
  devsim_start rf --program-time=500 --fault=record=2,refuse --fault=record=5,refuse=2
  trelox_run refusals-taken 1234:5678 "$firmware"
  expect "refused once and twice: exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "record 5 not sent three times" has "$out/rf.devsim.log" "record=5 send=3"
  devsim_stop rf
  devsim_start rf3 --fault=record=3,refuse=3
  trelox_run refusals-three 1234:5678 "$firmware"
  expect "refused three times: exit $rc, not 5" [ "$rc" -eq 5 ]
  expect "no 'Kein Acknowledge (3 Versuche)'" has "$out/refusals-three.out" "Kein Acknowledge (3 Versuche)"
}

# An acknowledge that never comes: "Timeout beim Lesen" after about 5 s, the
# read cancelled; the next run works.
case_stalled_ack() {
  devsim_start st --program-time=500 --fault=record=3,stall-read
  LIBUSB_DEBUG=4 trelox_run stalled-ack 1234:5678 "$firmware"
  expect "exit $rc, not 5" [ "$rc" -eq 5 ]
  expect "no 'Timeout beim Lesen'" has "$out/stalled-ack.out" "Timeout beim Lesen"
  expect "ended after $elapsed_ms ms, not after about 5 s" [ "$elapsed_ms" -ge 4800 ]
  expect "the read given up was not cancelled" cancelled_late stalled-ack
  cancelled_late stalled-ack && echo "INFO a cancelled read: the kernel's status -2" >>"$results"
  trelox_run stalled-ack-next 1234:5678 "$firmware"
  expect "the next run: exit $rc, not 0" [ "$rc" -eq 0 ]
}

# A halted endpoint (STALL) ends the download with error 32; the next run
# clears it and works without an unplug.
case_halted_endpoint() {
  devsim_start ht --program-time=500 --fault=record=3,read-error=32
  LIBUSB_DEBUG=4 trelox_run halted 1234:5678 "$firmware"
  expect "exit $rc, not 5" [ "$rc" -eq 5 ]
  expect "no 'Fehler 32 beim Lesen'" has "$out/halted.out" "Fehler 32 beim Lesen"
  expect "the device did not halt" has "$out/ht.devsim.log" "ep=4 halt"
  echo "INFO a halted endpoint: the kernel's status $(urb_status halted)" >>"$results"
  trelox_run halted-next 1234:5678 "$firmware"
  expect "the next run: exit $rc, not 0" [ "$rc" -eq 0 ]
}

# An answer that comes after its read was given up waits in the pipe; the
# next run must not take it for its first record's answer.
case_late_answer() {
  devsim_start la --program-time=500 --fault=record=3,stall-read=6000
  trelox_run late 1234:5678 "$firmware"
  expect "exit $rc, not 5" [ "$rc" -eq 5 ]
  expect "no 'Timeout beim Lesen'" has "$out/late.out" "Timeout beim Lesen"
  expect "the late answer was not sent" wait_for_line "$out/la.devsim.log" "late answer" 5
  trelox_run late-next 1234:5678 "$firmware"
  expect "the next run: exit $rc, not 0" [ "$rc" -eq 0 ]
}

# Too much data: an answer longer than the read asks for.
case_long_answer() {
  devsim_start lg --fault=record=2,long=20
  LIBUSB_DEBUG=4 trelox_run long 1234:5678 "$firmware"
  expect "exit $rc, not 5" [ "$rc" -eq 5 ]
  expect "no 'Fehler 75 beim Lesen'" has "$out/long.out" "Fehler 75 beim Lesen"
  echo "INFO an answer too long: the kernel's status $(urb_status long)" >>"$results"
}

# The device unplugged in the middle of the download: error 19.
case_unplugged() {
  devsim_start up --fault=record=5,leave
  LIBUSB_DEBUG=4 trelox_run unplugged 1234:5678 "$firmware"
  expect "exit $rc, not 5" [ "$rc" -eq 5 ]
  expect "no 'Fehler 19 beim'" has "$out/unplugged.out" "Fehler 19 beim"
  echo "INFO an unplug while reading: the kernel's status $(urb_status unplugged)" >>"$results"
}

# Two devices: the other one leaving in the middle of the download changes nothing.
case_other_leaves() {
  devsim_start a --udc=dummy_udc.0 --device-id=SIM0001 --program-time=1000 --fault=record=10,stall-read=2500
  devsim_start b --udc=dummy_udc.1 --device-id=SIM0002
  trelox_run other-leaves 1234:5678 "$firmware" &
  local runner=$!
  expect "record 10 not reached" wait_for_line "$out/a.devsim.log" "answer held" 30
  devsim_stop b
  wait "$runner"
  rc=$?
  expect "exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "not every record taken" has "$out/a.devsim.log" "programming-report"
}

# Two devices: another one arriving while the programmed one is away leaves
# the status window waiting; the programmed device never comes back, so the
# wait ends only by SIGTERM (exit 6), never with a success.
case_other_arrives() {
  devsim_start a --udc=dummy_udc.0 --device-id=SIM0001 --after-report=gone
  TRELOX_USB_DEVICES=1234:5678 timeout 90 "$TRELOX" "$firmware" </dev/null >"$out/other-arrives.out" 2>&1 &
  local runner=$!
  expect "the device did not leave" wait_for_line "$out/a.devsim.log" "leave reason=programming" 40
  devsim_start b --udc=dummy_udc.1 --device-id=SIM0002
  sleep 3
  expect "trelox ended on another device's arrival" kill -0 "$runner"
  kill -TERM "$runner" 2>/dev/null
  wait "$runner"
  rc=$?
  expect "exit $rc, not 6" [ "$rc" -eq 6 ]
  expect "'Programmierung beendet.' for a device that never came back" \
    lacks "$out/other-arrives.out" "Programmierung beendet."
}

# Two devices: serial= chooses one, the naming line says which, --list shows both.
case_choose_and_list() {
  devsim_start two --device --device --program-time=500
  trelox_run list "1234:5678" --list
  expect "--list: exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "--list: SIM0001 not usable" grep -qE "serial SIM0001 .*usable$" "$out/list.out"
  expect "--list: SIM0002 not usable" grep -qE "serial SIM0002 .*usable$" "$out/list.out"
  expect "--list wrote to a device" [ "$(count "$out/two.devsim.log" "ep=3 write")" -eq 0 ]
  trelox_run chosen "1234:5678 serial=SIM0002" "$firmware"
  expect "serial=SIM0002: exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "no naming line for SIM0002" has "$out/chosen.out" "trelox: using 1234:5678, serial SIM0002, port"
  expect "SIM0001 was written to" [ "$(count "$out/two.devsim.log" "dev=1 ep=3 write")" -eq 0 ]
  expect "SIM0002 not programmed" has "$out/two.devsim.log" "dev=2 programming-report"
  trelox_run first-of-two "1234:5678" "$firmware"
  expect "two listed: exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "no 'the first of 2 listed devices'" has "$out/first-of-two.out" "the first of 2 listed devices"
}

# A device the table does not list, beside one it lists, is never written to.
case_unlisted_beside_listed() {
  devsim_start ul "--device=\\\\?\\usb#vid_abcd&pid_ef01#OTHER01#{c0558574-212d-4625-8877-fe9c2e8ed396}" \
    --device-id=SIM0001 --program-time=500
  trelox_run unlisted 1234:5678 "$firmware"
  expect "exit $rc, not 0" [ "$rc" -eq 0 ]
  expect "the unlisted device was written to" [ "$(count "$out/ul.devsim.log" "dev=1 ep=3 write")" -eq 0 ]
  expect "the listed device not programmed" has "$out/ul.devsim.log" "dev=2 programming-report"
}

# The technician's runs keep their own lock folder: lock files that root's runs
# made belong to root, and another user cannot take them (exit status 7).
as_tech() { setpriv --reuid=4242 --regid=4242 --init-groups env TRELOX_LOCK_DIR="$work/locks-tech" "$@"; }

# A user who is not root: without a rule the permission message; with the
# template's uaccess variant but no session at the machine (as over the
# network) the message that names the group variant; with the group variant,
# a whole download, also to the device that came back.
case_permission() {
  # The package's template once case_package installed it, else the tree's.
  [ -f /usr/lib/udev/rules.d/70-trelox.rules ] && RULES_TEMPLATE=/usr/lib/udev/rules.d/70-trelox.rules
  devsim_start pm --program-time=1000
  as_tech env TRELOX_USB_DEVICES=1234:5678 timeout 60 "$TRELOX" "$firmware" </dev/null >"$out/no-rule.out" 2>&1
  rc=$?
  expect "without a rule: exit $rc, not 2" [ "$rc" -eq 2 ]
  expect "no permission message" has "$out/no-rule.out" "trelox: no permission to use /dev/bus/usb/"
  as_tech env TRELOX_USB_DEVICES=1234:5678 timeout 60 "$TRELOX" --list </dev/null >"$out/no-rule-list.out" 2>&1
  rc=$?
  expect "--list without a rule: exit $rc, not 2" [ "$rc" -eq 2 ]
  expect "--list does not say 'no permission'" has "$out/no-rule-list.out" "not usable: no permission"
  apply_rule 'TAG+="uaccess"'
  as_tech env TRELOX_USB_DEVICES=1234:5678 timeout 60 "$TRELOX" "$firmware" </dev/null >"$out/uaccess.out" 2>&1
  rc=$?
  expect "uaccess without a session: exit $rc, not 2" [ "$rc" -eq 2 ]
  expect "uaccess without a session: not told so" has "$out/uaccess.out" 'tags it "uaccess"'
  expect "uaccess without a session: no group variant" has "$out/uaccess.out" 'GROUP="plugdev"'
  apply_rule 'GROUP="plugdev"'
  ls -l /dev/bus/usb/*/* >"$out/permission.nodes" 2>&1
  as_tech env TRELOX_USB_DEVICES=1234:5678 timeout 60 "$TRELOX" "$firmware" </dev/null >"$out/group-rule.out" 2>&1
  rc=$?
  expect "with the group rule: exit $rc, not 0" [ "$rc" -eq 0 ]
  rm -f /etc/udev/rules.d/70-trelox.rules
  udevadm control --reload
}

# Installs the rule template's example line that holds TEXT, uncommented, as
# the technician would, and has udev apply it to the devices present.
apply_rule() {
  local rule
  rule=$(grep -F -- "$1" "$RULES_TEMPLATE" | sed -n 's/^#\(SUBSYSTEM.*\)/\1/p' | head -n 1)
  expect "the rule template has no example with $1" [ -n "$rule" ]
  echo "$rule" >/etc/udev/rules.d/70-trelox.rules
  udevadm control --reload
  udevadm trigger --action=add --subsystem-match=usb
  udevadm settle -t 10
}

# The package this test run built, installed with dpkg -i; its trelox programs the device.
case_package() {
  # Without it man-db's trigger rebuilds every manual page index: minutes here.
  rm -f /var/lib/man-db/auto-update
  dpkg -i "$DEB" >"$out/package.dpkg" 2>&1
  expect "dpkg -i failed" [ $? -eq 0 ]
  devsim_start pk --program-time=1000
  TRELOX_USB_DEVICES=1234:5678 timeout 60 /usr/bin/trelox /usr/share/doc/trelox/firmware.s19 \
    </dev/null >"$out/package.out" 2>&1
  rc=$?
  expect "the packaged trelox: exit $rc, not 0" [ "$rc" -eq 0 ]
}

# trelox-devsim --gadget's own refusals, each clear, none leaving anything behind.
case_gadget_refusals() {
  as_tech "$DEVSIM" --gadget >"$work/g1" 2>&1
  expect "not root: exit $?, no 'needs root'" has "$work/g1" "needs root"
  "$DEVSIM" --gadget --fault=record=1,short=3 >"$work/g2" 2>&1
  expect "short= accepted" has "$work/g2" "as a gadget"
  devsim_start g --udc=dummy_udc.0
  "$DEVSIM" --gadget >"$work/g3" 2>&1
  expect "no 'already in'" has "$work/g3" "a gadget named trelox-SIM0001 is already in"
  "$DEVSIM" --gadget --device-id=SIM0007 --udc=dummy_udc.0 >"$work/g4" 2>&1
  expect "no 'in use by the gadget'" has "$work/g4" "dummy_udc.0 is in use by the gadget trelox-SIM0001"
  "$DEVSIM" --gadget --device-id=SIM0008 --udc=nowhere.0 >"$work/g5" 2>&1
  expect "no 'there is no USB device controller nowhere.0'" has "$work/g5" "no USB device controller nowhere.0"
  cat "$work"/g[1-5]
  kill -INT "${devsim_pids[g]}"
  wait "${devsim_pids[g]}"
  unset "devsim_pids[g]"
  expect "SIGINT left in configfs or mounted: $(gadgets_left | tr '\n' ' ')" nothing_left
}

# Not a test: scripts/bench.sh's figures of SendLine against a bare libusb loop.
case_bench() {
  devsim_start bn --log=/dev/null --after-report=stay
  TRELOX_USB_DEVICES=1234:5678 "$BENCH" >"$out/bench.out" 2>&1
  expect "the benchmark failed: $(tail -n 1 "$out/bench.out")" [ $? -eq 0 ]
  echo "INFO $(grep -m1 'SendLine rate' "$out/bench.out")" >>"$results"
}

cases=${CASES:-download identity_dialog refusals stalled_ack halted_endpoint late_answer long_answer unplugged
  other_leaves other_arrives choose_and_list unlisted_beside_listed package permission gadget_refusals}
for name in $cases; do
  run_case "$name"
done
echo END >>"$results"
