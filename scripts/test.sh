#!/usr/bin/env bash
# Builds and runs every test: the fuzz targets over their corpus, the test suite in a normal
# build, then the test suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/deps.sh
jobs=$(nproc)

# Fuzz targets (clang, libFuzzer), each over its checked-in corpus.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
      -DCMAKE_CXX_COMPILER=clang++ -DZX_FUZZ=ON -DZX_TESTS=OFF -DZX_BENCH=OFF >/dev/null
ninja -C build-fuzz
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in build-fuzz/fuzz-bin/*_fuzz; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  echo "fuzz: $name"
  rm -rf "build-fuzz/corpus/$name" && mkdir -p build-fuzz/corpus && cp -r "fuzz/corpus/$name" "build-fuzz/corpus/$name"
  "$target" -runs=20000 -max_len=65536 -artifact_prefix=build-fuzz/ "build-fuzz/corpus/$name" >"build-fuzz/$name.log" 2>&1 \
    || { tail -n 40 "build-fuzz/$name.log"; exit 1; }
  # Any sanitizer report fails the run, even one a target survived.
  if grep -E -q "runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer" "build-fuzz/$name.log"; then
    grep -E -m 5 -A 20 "runtime error:|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer" "build-fuzz/$name.log"
    exit 1
  fi
done

# The test suite: a normal build (benchmarks compiled too), then a sanitizer build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build
(cd build && ctest -j"$jobs" --output-on-failure --timeout 300)

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZX_SANITIZE=ON -DZX_BENCH=OFF >/dev/null
ninja -C build-asan
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest -j"$jobs" --output-on-failure --timeout 600)
