#!/usr/bin/env bash
# Builds the frame benchmark in Release (CMake preset "bench", build/bench) and
# runs it: every case is repeated and interleaved, then the table of ratios
# (ours / limit, ours / baseline, allocations per frame, pull latency under a
# 1080p flood, 720p streams per core) is printed with the machine it ran on.
# The full Google Benchmark output is kept in build/bench/frame_bench.log.
#
#   scripts/bench.sh                                # 5 repetitions (default)
#   scripts/bench.sh --benchmark_repetitions=9      # any frame_bench / Google Benchmark flag
#   scripts/bench.sh --windows                      # also the Windows build under Wine, side by side
#
# With --windows (as root on Debian 12: it runs scripts/setup-windows.sh
# --bench) the same benchmark is also cross-built for 32-bit Windows (preset
# "windows-bench", the DLLs as shipped) and run under 32-bit Wine right after
# the Linux run, with the same flags; then a table puts the two builds side by
# side, case by case. Its log is build/windows-bench/frame_bench.log.
set -euo pipefail
cd "$(dirname "$0")/.."

windows=
args=()
for a in "$@"; do
  if [ "$a" = "--windows" ]; then windows=1; else args+=("$a"); fi
done

cmake --preset bench >/dev/null
cmake --build --preset bench --target frame_bench >/dev/null
if [ -n "$windows" ]; then
  bash scripts/setup-windows.sh --bench >/dev/null
  cmake --preset windows-bench >/dev/null
  cmake --build --preset windows-bench --target frame_bench >/dev/null
fi

machine() {
  echo "Machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p' | head -1); load average $(cut -d' ' -f1-3 /proc/loadavg)"
}

log=build/bench/frame_bench.log
build/bench/bin/frame_bench "${args[@]+"${args[@]}"}" --results=build/bench/frame_bench.results >"$log" 2>&1
# The table runs from its title to the scale note; the extensions' own
# console lines around it stay in the log.
sed -n '/^Frame path:/,/remote users in turn/p' "$log"
echo
machine
echo "Full output: $log"
[ -n "$windows" ] || exit 0

# ---- the Windows build under Wine, then the two side by side
WBUILD=build/windows-bench
source scripts/wine-env.sh
start_wine "$PWD/$WBUILD/wineprefix"

wlog=$WBUILD/frame_bench.log
echo
echo "--- the Windows build under Wine ($(wine --version 2>/dev/null))"
wine "$WBUILD/bin/frame_bench.exe" "${args[@]+"${args[@]}"}" --results="$WBUILD/frame_bench.results" >"$wlog" 2>&1
sed -n '/^Frame path:/,/remote users in turn/p' "$wlog" | tr -d '\r'
echo "Full output: $wlog"

echo
echo "Linux build and Windows build (32-bit, under Wine), one run on the same machine, $(date -u +%Y-%m-%d)"
awk '
  # frame_bench --results: "name microseconds" lines, the Linux build first.
  FNR == 1 { build++ }
  { t[build, $1] = $2 + 0 }
  function row(label, size, key, limit,   l, w) {
    l = t[1, key]; w = t[2, key]
    if (l == "" || w == "") return
    printf "%-22s %-6s %9.1f %10.1f %7.2f %9.1f %10.1f  %s\n", label, size, l, w, w / l, t[1, limit], t[2, limit],
           (w / l <= 1.25 ? "ok" : "MISSED")
  }
  function pull(label, size, key,   l, w, lm, wm) {
    l = t[1, key]; w = t[2, key]; lm = t[1, "Limit_Memcpy/" substr(key, index(key, "/") + 1)]
    wm = t[2, "Limit_Memcpy/" substr(key, index(key, "/") + 1)]
    if (l == "" || w == "") return
    printf "%-22s %-6s %9.1f %7.2f %10.1f %7.2f %7.2f\n", label, size, l, l / lm, w, w / wm, (w / wm) / (l / lm)
  }
  END {
    n = split("1080p 720p 360p", sizes, " ")
    printf "\n%-22s %-6s %9s %10s %7s %9s %10s  %s\n", "intake (SDK thread)", "size", "Linux us", "Windows us",
           "Win/Lin", "limit Lin", "limit Win", "target"
    split("Brisora I420|Brisora 24-bit (8)|Tamvex I420|Tamvex BGRA", labels, "|")
    split("Intake_Brisora_I420 Intake_Brisora_RGB24 Intake_Tamvex_I420 Intake_Tamvex_BGRA", keys, " ")
    split("Limit_I420ToARGB Limit_RGB24ToARGB Limit_I420ToARGB Limit_Memcpy", limits, " ")
    for (i = 1; i <= 4; i++)
      for (s = 1; s <= n; s++) row(labels[i], sizes[s], keys[i] "/" (s - 1), limits[i] "/" (s - 1))
    print "  (CPU time per frame; target: Windows at most 1.25 x Linux. limit: libyuv (I420, 24-bit) or memcpy"
    print "   (BGRA) alone into one warm buffer, in the same process)"
    printf "\n%-22s %-6s %9s %7s %10s %7s %7s\n", "pull (main thread)", "size", "Linux us", "/memcpy", "Windows us",
           "/memcpy", "Win/Lin"
    split("Brisora getVideoData|Tamvex getVideoData|Brisora getVideoBitmap", plabels, "|")
    split("Pull_Brisora Pull_Tamvex PullBitmap_Brisora", pkeys, " ")
    for (i = 1; i <= 3; i++)
      for (s = 1; s <= n; s++) pull(plabels[i], sizes[s], pkeys[i] "/" (s - 1))
    print "  (/memcpy: against a memcpy of the frame timed in the same process: glibc'\''s on Linux, Wine'\''s"
    print "   msvcrt on Windows; Win/Lin compares those two ratios)"
    printf "\n%-22s %-6s %9s %10s %7s\n", "limits alone", "size", "Linux us", "Windows us", "Win/Lin"
    split("libyuv I420ToARGB|libyuv RGB24ToARGB|memcpy of the frame", llabels, "|")
    split("Limit_I420ToARGB Limit_RGB24ToARGB Limit_Memcpy", lkeys, " ")
    for (i = 1; i <= 3; i++)
      for (s = 1; s <= n; s++) {
        k = lkeys[i] "/" (s - 1)
        if (t[1, k] != "" && t[2, k] != "")
          printf "%-22s %-6s %9.1f %10.1f %7.2f\n", llabels[i], sizes[s], t[1, k], t[2, k], t[2, k] / t[1, k]
      }
  }' build/bench/frame_bench.results "$WBUILD/frame_bench.results"
echo
machine
