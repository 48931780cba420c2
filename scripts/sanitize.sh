#!/usr/bin/env bash
# Builds the framework, its sound module and carbon with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (sanitize/), and runs the
# program there three times on Qt's offscreen platform without a sound
# server. Fails on any fault the sanitizers report, on a report of the
# framework, and on a hang; skips (status 77), saying why, where clang or its
# shared AddressSanitizer runtime is missing.
#   scripts/sanitize.sh [build folder, default build-sanitize]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build-sanitize}

skip() {
  echo "sanitize: skipped: $1" >&2
  exit 77
}
command -v clang++ >/dev/null || skip "no clang++ here (Debian: clang)"
# clang names the runtime libclang_rt.asan-x86_64.so where it keeps one
# folder for all targets, libclang_rt.asan.so where it keeps one per target;
# it answers a name it cannot find as it was given.
runtime=
for name in libclang_rt.asan-x86_64.so libclang_rt.asan.so; do
  found=$(clang++ -print-file-name="$name")
  if [[ $found == /* && -f $found ]]; then
    runtime=$found
    break
  fi
done
[ -n "$runtime" ] || skip "clang++ has no shared AddressSanitizer runtime, neither libclang_rt.asan-x86_64.so nor libclang_rt.asan.so (Debian: libclang-rt-dev)"

cmake -S "$here/sanitize" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DHOROMINE_ASAN_RUNTIME="$runtime" >/dev/null
if ! cmake --build "$build" >"$build/build.log" 2>&1; then
  tail -n 40 "$build/build.log"
  exit 1
fi

# Freed memory is filled, so that a read of a freed object by the toolkit's
# own code, which is not instrumented, faults instead of finding the old
# contents.
export ASAN_OPTIONS=max_free_fill_size=65536:free_fill_byte=190
export UBSAN_OPTIONS=print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_RUNTIME_DIR=$home TMPDIR=$home PULSE_SERVER=unix:$home/no-sound-server

for run in 1 2 3; do
  status=0
  timeout 20 "$build/exit_safety" 2>"$home/stderr" || status=$?
  if [ "$status" -ne 0 ] || grep -q "^horomine:" "$home/stderr"; then
    cat "$home/stderr"
    echo "sanitize: exit_safety failed with status $status (124: it did not end within 20 s)" >&2
    exit 1
  fi
done
