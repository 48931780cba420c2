#!/usr/bin/env bash
# Builds the libFuzzer target of the property-record reader (fuzz/) with
# clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs it for a
# bounded time. Fails on any crash, leak or undefined behaviour.
#   scripts/fuzz.sh [seconds, default 30] [build folder, default build-fuzz]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${2:-$here/build-fuzz}

cmake -S "$here/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" >/dev/null

# Seeds: a window's first entries, a title of 12 UTF-8 bytes, captions
# joined by CR, and Int32 0 beside an empty String.
corpus=$build/corpus
mkdir -p "$corpus"
printf 'Placement \0\0\0\2Width \0\0\1\340Height \0\0\1,MinWidth \0\0\1\340' >"$corpus/window"
printf 'Title \0\0\0\014ほろみねComposite \0BackColor \377\377\377' >"$corpus/title"
printf 'TabDefinition \0\0\0\024目的\r操作\r感謝Value \0\0\0\0' >"$corpus/tabs"
printf 'Left \0\0\0\0Text \0\0\0\0Index \200\0\0\0' >"$corpus/zeros"

log=$build/fuzz.log
status=0
"$build/property_records_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
  -dict="$here/fuzz/PropertyRecords.dict" -print_final_stats=1 "$corpus" >"$log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
  tail -n 40 "$log"
  echo "fuzz: the reader failed (status $status); the input is in $build" >&2
  exit "$status"
fi
grep -E '^(Done|stat::number_of_executed_units|stat::new_units_added)' "$log"
