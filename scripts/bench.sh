#!/usr/bin/env bash
# Builds the frame benchmark in Release (CMake preset "bench", build/bench) and
# runs it: every case is repeated and interleaved, then the table of ratios
# (ours / limit, ours / baseline, allocations per frame, pull latency under a
# 1080p flood, 720p streams per core) is printed with the machine it ran on.
# The full Google Benchmark output is kept in build/bench/frame_bench.log.
#
#   scripts/bench.sh                                # 5 repetitions (default)
#   scripts/bench.sh --benchmark_repetitions=9      # any frame_bench / Google Benchmark flag
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset bench >/dev/null
cmake --build --preset bench --target frame_bench >/dev/null

log=build/bench/frame_bench.log
build/bench/bin/frame_bench "$@" >"$log" 2>&1
# The table runs from its title to the scale note; the extensions' own
# console lines around it stay in the log.
sed -n '/^Frame path:/,/remote users in turn/p' "$log"
echo
echo "Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -1); load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Full output: $log"
