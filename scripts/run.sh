#!/usr/bin/env bash
# Builds Files and opens it, on FOLDER when one is given. Any further arguments go to the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/deps.sh" build
cmake -S "$here" -B "$here/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DFILES_BUILD_TESTS=OFF -DFILES_BUILD_BENCH=OFF > /dev/null
cmake --build "$here/build-release" --target orvo-files
exec "$here/build-release/apps/file-explorer/orvo-files" "$@"
