#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main program on its embedded defaults: a fresh
# machine root of its own, the web service's stand-in on loopback with its defaults (no
# catalogue: no update is offered; the maker's hosts routed to it), and the program in hidden
# scan mode, so that it ends by itself without a window.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# Only the programs of the main job, not the tests and benchmarks.
ninja -C build zx_main_job

root=$(mktemp -d "${TMPDIR:-/tmp}/zephrinkx-run-XXXXXX")
service_pid=
finish() {
  if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; fi
  rm -rf "$root"
}
trap finish EXIT

# The stand-in prints its port on its first line.
coproc service { exec build/bin/zxwebservice; }
service_pid=$service_PID
read -r -t 10 port <&"${service[0]}"
echo "web service stand-in on 127.0.0.1:$port"
printf '[Hosts]\r\nupdate.zephrin-tunevo.example = 127.0.0.1:%s\r\nupdate2.zephrin-tunevo.example = 127.0.0.1:%s\r\n' \
  "$port" "$port" >"$root/machine.ini"

status=0
ZX_MACHINE_ROOT="$root" timeout 120 build/bin/zephrinkx -runhiddenScan || status=$?
echo "zephrinkx ended with exit code $status"
exit "$status"
