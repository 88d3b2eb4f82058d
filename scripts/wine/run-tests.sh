#!/usr/bin/env bash
# Runs Windows test programs under Wine: starts one Xvfb display and one fresh
# WINEPREFIX for the whole run, runs each program in turn, then tears both
# down. Prints the time of every stage; exits non-zero if any program failed.
#
#   scripts/wine/run-tests.sh PROGRAM.exe... [-- ARGS...]
#
# ARGS go to every program (for example --gtest_brief=1).
# TRELOX_WINE_KEEP=1 keeps the prefix and prints where it is.
# TRELOX_WINE_PREPARE, when set, is a shell command run once the prefix is
# ready (WINEPREFIX and DISPLAY exported), before the programs.
set -uo pipefail

programs=()
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; args=("$@"); break; fi
  programs+=("$1"); shift
done
if [ ${#programs[@]} -eq 0 ]; then
  echo "usage: $0 PROGRAM.exe... [-- ARGS...]" >&2
  exit 2
fi
for p in "${programs[@]}"; do
  [ -f "$p" ] || { echo "wine-run: no such program: $p" >&2; exit 2; }
done
for tool in wine wineserver Xvfb; do
  command -v "$tool" >/dev/null || { echo "wine-run: $tool is not installed (scripts/setup.sh)" >&2; exit 2; }
done

now_ms() { date +%s%3N; }
started=$(now_ms)
work=$(mktemp -d "${TMPDIR:-/tmp}/trelox-wine.XXXXXX")
export WINEPREFIX="$work/prefix"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No installer prompts for the .NET and HTML runtimes in a fresh prefix, and
# no menu entries on this machine for programs installed in the test prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid=""

teardown() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  if [ "${TRELOX_WINE_KEEP:-0}" = 1 ]; then
    echo "wine-run: prefix kept in $WINEPREFIX"
  else
    rm -rf "$work"
  fi
}
trap teardown EXIT
trap 'exit 130' INT TERM

# One display for the run: windows and message boxes need one.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
if [ ! -s "$work/display" ]; then
  echo "wine-run: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"

# A fresh prefix; the server stays up between the programs of the run, and
# windows are unmanaged, which spares Wine's wait for a window manager.
t0=$(now_ms)
mkdir -p "$WINEPREFIX"
wineserver -p
wine wineboot --init >"$work/wineboot.log" 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$work/wineboot.log" 2>&1
# A fresh prefix opens no program for .txt files, where Windows has Notepad
# (a setup program's "show the readme" relies on it).
wine reg add 'HKCR\.txt' /ve /d txtfile /f >>"$work/wineboot.log" 2>&1
echo "wine-run: prefix ready on $DISPLAY in $(( $(now_ms) - t0 )) ms"
if [ -n "${TRELOX_WINE_PREPARE:-}" ]; then
  bash -c "$TRELOX_WINE_PREPARE" || { echo "wine-run: preparation failed" >&2; exit 1; }
fi

failed=0
for p in "${programs[@]}"; do
  t0=$(now_ms)
  echo "wine-run: === $(basename "$p")"
  wine "$p" "${args[@]}"
  rc=$?
  echo "wine-run: === $(basename "$p"): exit $rc in $(( $(now_ms) - t0 )) ms"
  [ $rc -eq 0 ] || failed=$(( failed + 1 ))
done
echo "wine-run: ${#programs[@]} program(s), $failed failed, $(( $(now_ms) - started )) ms in all"
[ $failed -eq 0 ]
