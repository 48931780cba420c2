#!/usr/bin/env bash
# Sets up, builds and starts the game.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${HOROMINE_BUILD_DIR:-$here/build}

"$here/scripts/setup.sh" game
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DHOROMINE_BUILD_TESTS=OFF -DHOROMINE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found (DISPLAY is not set); start the game from a desktop session" >&2
  exit 1
fi
exec "$build/horomine/MacOS/horomine" "$@"
