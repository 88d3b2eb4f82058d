#!/usr/bin/env bash
# Static checks of src/ and tools/: clang-tidy (configuration: .clang-tidy) over
# every native translation unit, and cppcheck (suppressions:
# scripts/checks/cppcheck-suppressions.txt) over every source, Windows ones
# included. Any finding fails the step.
set -uo pipefail
cd "$(dirname "$0")/../.."
build=build/static-analysis
jobs=${TRELOX_JOBS:-2}
status=0

# Only the compilation database is needed, not a build.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1

t0=$(date +%s)
mapfile -t units < <(python3 - "$build/compile_commands.json" <<'PY'
import json, sys
for entry in json.load(open(sys.argv[1])):
    path = entry["file"]
    if "/src/" in path or "/tools/" in path:
        print(path)
PY
)
log=$(mktemp)
printf '%s\n' "${units[@]}" | xargs -P "$jobs" -n 4 clang-tidy --quiet -p "$build" >"$log" 2>&1
tidy_rc=$?
findings=$(grep -cE ': (warning|error): ' "$log")
grep -E ': (warning|error): ' "$log" | sort -u
echo "clang-tidy: ${#units[@]} units, $findings findings, $(( $(date +%s) - t0 )) s"
if [ "$tidy_rc" -ne 0 ] || [ "$findings" -ne 0 ]; then
  [ "$findings" -ne 0 ] || tail -n 30 "$log"
  status=1
fi
rm -f "$log"

t0=$(date +%s)
cppcheck --enable=warning,performance,portability --std=c++17 --language=c++ --inline-suppr \
  --suppressions-list=scripts/checks/cppcheck-suppressions.txt --error-exitcode=1 -q -j "$jobs" \
  -I src -I tools/devsim src tools
cpp_rc=$?
echo "cppcheck: src tools, exit $cpp_rc, $(( $(date +%s) - t0 )) s"
[ "$cpp_rc" -eq 0 ] || status=1
exit "$status"
