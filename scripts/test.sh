#!/usr/bin/env bash
# Sets up, builds from scratch with warnings as errors, and runs every test.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${HOROMINE_TEST_BUILD_DIR:-$here/build-test}

"$here/scripts/setup.sh" tests
rm -rf "$build"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHOROMINE_WERROR=ON >/dev/null
cmake --build "$build" --parallel
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600
