#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main job on the sample: a machine root of its
# own seeded from a machine profile (the laptop unless told otherwise), the web service's
# stand-in on loopback serving the sample catalogue (samples/catalogue: newer drivers for four
# of the laptop's devices, packed afresh as a zip, a cabinet and two 7-Zip archives), and the
# maker's hosts routed to it.
#
# With a display (DISPLAY set, or --window) the main program shows its window on X11 and the
# run ends when the user closes it. Without one the Task Scheduler's stand-in runs the
# product's scheduled scan job with auto-fix (found updates downloaded, backed up and
# installed), a fresh scheduled scan reads the devices back, and a summary says what
# happened; the exit code is 0 only when every step did, otherwise the failed step is named.
#
#   scripts/run.sh [--window] [--profile laptop|desktop|host|FILE] [--bin FOLDER]
#
# --profile (or ZX_SAMPLE_PROFILE): a shipped profile of tests/data/profiles, a profile file,
# or "host" for this machine's own hardware as zxdevices reads it. --bin: run the programs of
# that program folder (an earlier build) without installing or building.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

window=0
[ -n "${DISPLAY:-}" ] && window=1
profile=${ZX_SAMPLE_PROFILE:-laptop}
bin=
while [ $# -gt 0 ]; do
  case $1 in
    --window) window=1 ;;
    --profile) profile=${2:?--profile needs a name}; shift ;;
    --bin) bin=$(cd "${2:?--bin needs a folder}" && pwd); shift ;;
    *) echo "run.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

if [ -z "$bin" ]; then
  scripts/deps.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  # Only the programs of the main job, not the tests and benchmarks.
  ninja -C build zx_main_job
  bin=$top/build/bin
fi

label="the $profile profile"
case $profile in
  host) profile_file= label="this machine's own hardware" ;;
  */*|*.profile) profile_file=$(cd "$(dirname "$profile")" && pwd)/$(basename "$profile") ;;
  *) profile_file=$top/tests/data/profiles/$profile.profile ;;
esac
if [ -n "$profile_file" ] && [ ! -f "$profile_file" ]; then
  echo "run.sh: no machine profile $profile_file" >&2
  exit 2
fi

run=$(mktemp -d "${TMPDIR:-/tmp}/zephrinkx-run-XXXXXX")
root=$run/machine
log=$run/run.log
export ZX_MACHINE_ROOT=$root
service_pid=
program_pid=
# At the end the programs it started are ended, and the Task Scheduler's service, which the
# main program starts on the machine when it finds it stopped.
finish() {
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ -d "$root" ]; then "$bin/zxsample" stopservice >>"$log" 2>&1 || true; fi
  if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; fi
}
trap finish EXIT
# A step that fails is named, with what its program said last.
failed() {
  local said=
  [ -s "$run/step.err" ] && said=" ($(tail -n 1 "$run/step.err"))"
  echo "run.sh: $1 failed$said; see $log" >&2
  exit 1
}

# The sample: the machine, the catalogue, the stand-in (its port on the first line of its
# output, then one line per request).
"$bin/zxdevices" seed ${profile_file:+"$profile_file"} >>"$log" 2>&1 || failed "seeding the machine from ${profile}"
devices=$(grep -o 'seeded [0-9]* devices' "$log" | grep -o '[0-9]*' || true)
samples/make_catalogue.sh "$run/catalogue" "$bin/zxsetup" >>"$log" 2>&1 || failed "packing the sample catalogue"
mkdir -p "$run/uploads"
"$bin/zxwebservice" --catalogue "$run/catalogue" --uploads "$run/uploads" >"$run/service.log" 2>&1 &
service_pid=$!
port=
for _ in $(seq 100); do
  port=$(head -n 1 "$run/service.log" | grep -x '[0-9]*' || true)
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || failed "starting the web service's stand-in"
# An administrator on a network; the maker's hosts are the stand-in.
printf '[Machine]\r\nAdministrator=1\r\n[Network]\r\nConnection=lan\r\n[Hosts]\r\nupdate.zephrin-tunevo.example = 127.0.0.1:%s\r\nupdate2.zephrin-tunevo.example = 127.0.0.1:%s\r\n' \
  "$port" "$port" >>"$root/machine.ini"

if [ "$window" = 1 ]; then
  echo "Sample machine: $label${devices:+ ($devices devices)}; web service stand-in on 127.0.0.1:$port."
  echo "Click Scan now, then Update selected drivers on the results; close the window to end."
  status=0
  ZX_PRESENTER=x11 "$bin/zephrinkx" >>"$log" 2>&1 || status=$?
  echo "zephrinkx ended with exit code $status; its output is in $log"
  exit "$status"
fi

# The scheduled scan: the product's job (" -autofix", a start at the present minute) run by
# the Task Scheduler's stand-in by hand, which starts the main program with the job's
# parameters and records its end in the job. Then a fresh scheduled scan. Pauses are skipped
# (nobody watches); the programs' output (also the update checker's switch search) goes to
# the log.
run_in_background() {
  "$bin/zxsample" forget
  ZX_SKIP_PAUSES=1 "$@" >>"$log" 2>&1 &
  program_pid=$!
}
end_background() {
  wait "$program_pid" || failed "$1"
  program_pid=
}

found=$("$bin/zxsample" offers "$run/catalogue/catalogue.ini" 2>"$run/step.err") || failed "reading the offers"
count=$(printf '%s' "$found" | grep -c . || true)
picture=$run/results.png

"$bin/zxsample" job "$bin/zephrinkx.exe" " -autofix" 2>"$run/step.err" || failed "writing the scheduled scan's job"
run_in_background "$bin/zxtaskscheduler"
scan=$("$bin/zxsample" autofix "$picture" "$count" 2>"$run/step.err") || failed "the scheduled auto-fix run"
end_background "the Task Scheduler's run of the job"
job=$("$bin/zxsample" jobrun 2>"$run/step.err") || failed "the scheduled run's record"
run_in_background "$bin/zephrinkx" -schedule
fresh=$("$bin/zxsample" rescan "$run/catalogue/catalogue.ini" 2>"$run/step.err") || failed "the fresh scan"
end_background "the fresh scan's program"

data=$(find "$root/drive_c/Users" -maxdepth 4 -type d -name "Zephrin Tunevo" -path "*/AppData/Roaming/*" | head -n 1)
[ -n "$data" ] || failed "finding the program's data folder"
archive=$(find "$data/Backup" -maxdepth 1 -name '*.zip' 2>/dev/null | head -n 1)
if [ "$count" -gt 0 ]; then
  [ -n "$archive" ] || failed "the backup before the install"
  for history in Download.dat Backup.dat exc.xml; do
    [ -f "$data/$history" ] || failed "writing $history"
  done
fi
[ -s "$picture" ] || failed "the picture of the results page"

echo "Machine scanned: $label${devices:+, $devices devices}."
echo "$job"
echo "$scan"
if [ "$count" -gt 0 ]; then
  echo "Updates found (device: installed version, offered version):"
  echo "$found"
else
  echo "No update found: the sample catalogue offers drivers for the laptop's devices."
fi
echo "$fresh" | head -n 1
if [ "$count" -gt 0 ]; then
  echo "Installed, as the fresh scan reads them back:"
  echo "$fresh" | tail -n +2
  echo "Backup archive: $archive"
  echo "Histories: Download.dat and Backup.dat, the installed updates' record exc.xml, in $data"
fi
echo "Logs: $log (the programs' output), $run/service.log (the web service's requests)"
if [ "$count" -gt 0 ]; then
  echo "Results page picture: $picture"
else
  echo "Main window picture (the scan's page: no result to show): $picture"
fi
echo "Machine root (kept): $root"
