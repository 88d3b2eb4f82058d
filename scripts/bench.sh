#!/usr/bin/env bash
# Builds the benchmarks optimised and runs every one of them; each prints its
# figures on one line. Build directory: $TRELOX_BENCH_BUILD (default build/bench).
# Needs about 1.1 GiB free in /tmp for the memory benchmark's flash file.
# KernelSendLineBench runs in the virtual machine of scripts/checks/kernel-usb.sh
# (its case "bench"), against trelox-devsim --gadget on Linux's own USB stack.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TRELOX_BENCH_BUILD:-build/bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
benches=$(find bench -maxdepth 1 -name '*.cpp' -exec basename {} .cpp \; | sort)
# shellcheck disable=SC2086
cmake --build "$build" -j"${TRELOX_JOBS:-2}" --target $benches >/dev/null
status=0
for bench in $benches; do
  if [ "$bench" = KernelSendLineBench ]; then
    TRELOX_BUILD_DIR=$build TRELOX_KERNEL_CASES=bench TRELOX_KERNEL_BENCH="$(realpath "$build/bench/$bench")" \
      scripts/checks/kernel-usb.sh | sed -n 's/^INFO //p; /FAIL/p' || status=1
    continue
  fi
  "$build/bench/$bench" || status=1
done
exit "$status"
