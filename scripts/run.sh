#!/usr/bin/env bash
# Installs what is needed, builds, and runs the main program on its embedded defaults.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
ninja -C build
if [ -x build/bin/zephrinkx ]; then
  exec build/bin/zephrinkx
fi
echo "The main program (zephrinkx) is not built yet; the libraries in build/bin are:"
ls build/bin
