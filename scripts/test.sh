#!/usr/bin/env bash
# Builds and runs every test: the fuzz targets over their corpus, the test suite in a normal
# build, then the test suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/deps.sh
jobs=$(nproc)
# The three builds take about 15 GB; say what the disk holds, so a full disk is plain to see.
df -h . | tail -n 1 | awk '{print "disk: " $4 " free of " $2}'

# A third of a build's time goes into full debug information. The builds below keep only what
# a sanitizer's or a failed test's report needs: line tables in the fuzz and sanitizer builds,
# none in the normal build.

# Fuzz targets (clang, libFuzzer), each over its checked-in corpus.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DZX_FUZZ=ON -DZX_TESTS=OFF -DZX_BENCH=OFF \
      -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -gline-tables-only -DNDEBUG" >/dev/null
ninja -C build-fuzz
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
# One target over a copy of its corpus; any sanitizer report fails it, even one it survived.
run_fuzz_target() {
  local target=$1 name root runs status=0
  name=$(basename "$target")
  # A target whose runs are slow (a program started, a page laid out) names a smaller count:
  # "// Runs: N".
  runs=$(sed -n 's|^// Runs: \([0-9]*\)$|\1|p' "fuzz/$name.cpp")
  # A machine root of the target's own, so targets running side by side share nothing.
  root=$(mktemp -d)
  rm -rf "build-fuzz/corpus/$name" && mkdir -p build-fuzz/corpus && cp -r "fuzz/corpus/$name" "build-fuzz/corpus/$name"
  ZX_MACHINE_ROOT=$root "$target" -runs="${runs:-20000}" -max_len=65536 -artifact_prefix="build-fuzz/$name-" \
    "build-fuzz/corpus/$name" >"build-fuzz/$name.log" 2>&1 || status=$?
  rm -rf "$root"
  if [ "$status" -ne 0 ]; then
    echo "fuzz: $name failed"; tail -n 40 "build-fuzz/$name.log"; return 1
  fi
  if grep -E -q "runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer" "build-fuzz/$name.log"; then
    echo "fuzz: $name: sanitizer report"
    grep -E -m 5 -A 20 "runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer" "build-fuzz/$name.log"
    return 1
  fi
  echo "fuzz: $name passed"
}
export -f run_fuzz_target
# The targets run side by side, one core each.
find build-fuzz/fuzz-bin -maxdepth 1 -name '*_fuzz' -type f -perm -u+x | sort \
  | xargs -P "$jobs" -I{} bash -c 'run_fuzz_target "$1"' _ {}

# The test suite: a normal build (benchmarks compiled too), then a sanitizer build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
      -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" >/dev/null
ninja -C build
(cd build && ctest -j"$jobs" --output-on-failure --timeout 300)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZX_SANITIZE=ON -DZX_BENCH=OFF \
      -DCMAKE_C_FLAGS_DEBUG=-g1 -DCMAKE_CXX_FLAGS_DEBUG=-g1 >/dev/null
ninja -C build-asan
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j"$jobs" --output-on-failure --timeout 600)
