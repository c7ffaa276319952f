#!/usr/bin/env bash
# Builds Files with its tests and benchmarks and runs every test, headless.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh" test
build="$here/build"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j 2

export QT_QPA_PLATFORM=offscreen
# Tests must not depend on the session they run in.
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'rm -rf "$runtime"' EXIT
cd "$build"
ctest -j 2 --output-on-failure --timeout 600
