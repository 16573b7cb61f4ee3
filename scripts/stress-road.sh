#!/usr/bin/env bash
# Runs the main road's tests many times side by side on a loaded machine, to bring out what
# only a busy machine shows (a race between the program's threads, a file read before it is
# written, a pause a slow machine stretches). Each copy runs from a copy of the test folder
# (its tests write the program's texts beside themselves) in a temporary folder of its own; a
# failed run keeps its whole output, the platform's debug output with it, and its temporary
# folder (the failed picture and each failed test's machine root, the program's logs in it,
# among them) under the report folder.
#
#   scripts/stress-road.sh [build folder] [copies] [rounds] [gtest filter]
#
# Defaults: build, 7 copies, 50 rounds, every road test. ZX_STRESS_LOAD (default: the number
# of cores) busy loops run beside them the whole time; ZX_STRESS_REPORTS names the report
# folder (default: a new one in /tmp). Ends with 1 when any run failed.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
copies=${2:-7}
rounds=${3:-50}
filter=${4:-*}
case "$build" in /*) ;; *) build=$top/$build ;; esac
program=$build/tests-bin/app_road_tests/app_road_tests
if [ ! -x "$program" ]; then
  echo "no road tests at $program: build first (ninja -C $build app_road_tests)" >&2
  exit 2
fi
reports=${ZX_STRESS_REPORTS:-$(mktemp -d /tmp/zx-stress-XXXXXX)}
mkdir -p "$reports"
load=${ZX_STRESS_LOAD:-$(nproc)}

loaders=()
for ((i = 0; i < load; ++i)); do
  (while :; do :; done) &
  loaders+=($!)
done
trap 'kill "${loaders[@]}" 2>/dev/null' EXIT

# One copy's rounds; prints a line per failed round.
run_copy() {
  local copy=$1 round root log folder
  folder=$(mktemp -d)
  cp -a "$(dirname "$program")/." "$folder/"
  for ((round = 1; round <= rounds; ++round)); do
    root=$(mktemp -d)
    log=$reports/copy$copy-round$round.log
    if ! TMPDIR=$root ZX_FAILED_ROOTS=$root/failed-roots ZX_DEBUG_OUTPUT=1 "$folder/$(basename "$program")" --gtest_filter="$filter" >"$log" 2>&1; then
      cp -r "$root" "$reports/copy$copy-round$round-root" 2>/dev/null
      echo "copy $copy round $round failed: $log"
    else
      rm -f "$log"
    fi
    rm -rf "$root"
  done
  rm -rf "$folder"
}

start=$(date +%s)
for ((copy = 1; copy <= copies; ++copy)); do
  run_copy "$copy" &
done
wait $(jobs -p | grep -v -x -F "$(printf '%s\n' "${loaders[@]}")")
failed=$(find "$reports" -maxdepth 1 -name '*.log' | wc -l)
echo "stress: $copies copies x $rounds rounds of '$filter' beside $load busy loops," \
     "$failed failed, $(( $(date +%s) - start )) s; reports in $reports"
[ "$failed" -eq 0 ]
