#!/usr/bin/env bash
# Builds Files with its tests and benchmarks and runs every test, headless.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh" test
build="$here/build"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j 2

# The readers of untrusted attribute bytes also run under AddressSanitizer and UBSan.
asan="$here/build-asan"
cmake -S "$here" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFILES_SANITIZE=ON -DFILES_BUILD_BENCH=OFF > /dev/null
cmake --build "$asan" -j 2 --target model_test
"$asan/tests/model/model_test" --gtest_brief=1

export QT_QPA_PLATFORM=offscreen
# Tests must not depend on the session they run in.
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'rm -rf "$runtime"' EXIT
cd "$build"
ctest -j 2 --output-on-failure --timeout 600
