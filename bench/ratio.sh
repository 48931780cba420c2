#!/usr/bin/env bash
# Runs a benchmark program and prints each benchmark's time as a ratio to
# the first one (the baseline) of the same run.
set -euo pipefail
bin=${1:?usage: ratio.sh <benchmark-program> [args...]}
shift
"$bin" --benchmark_format=json --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@" |
python3 -c '
import json, sys
rows = [b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"]
base = rows[0]["real_time"]
for b in rows:
    print("%-24s %10.1f %s  ratio %5.2f" % (b["run_name"], b["real_time"], b["time_unit"], b["real_time"] / base))
'
