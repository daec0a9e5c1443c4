// frame_bench: runs the frame-path benchmarks (medians of several
// repetitions, interleaved in random order so that the noise of a shared
// machine spreads over all of them), then the contention measurement, then
// prints the table of ratios.
//
//   frame_bench [--contention-rounds=N] [--contention-pulls=N] [--table-min] [--no-table]
//               [--results=FILE] [Google Benchmark flags]
//
// --results=FILE writes every case's CPU time per iteration in microseconds
// (the statistic the table uses), one "name microseconds" line each; the
// side-by-side table of scripts/bench.sh --windows is made from two of them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "frame_bench.h"
#include "memory.h"

namespace bench {
namespace {

struct Result {
  double cpuUs = 0;   // CPU time per iteration, microseconds
  double realUs = 0;  // wall time per iteration, microseconds
  double allocs = -1;   // allocations per iteration, all
  double outside = -1;  // of which outside the runtime's functions
};

// Keeps the median of each benchmark (or its only run) while printing as usual.
class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, Result> results;
  std::string statistic = "median";  // or "min"

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == statistic;
      if (run.run_type == Run::RT_Aggregate && !median) continue;
      std::string key = run.run_name.function_name;
      if (!run.run_name.args.empty()) key += "/" + run.run_name.args;
      Result& r = results[key];
      if (run.run_type == Run::RT_Iteration && seenMedian_.count(key)) continue;
      if (median) seenMedian_[key] = true;
      const double toUs = 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      r.cpuUs = run.GetAdjustedCPUTime() * toUs;
      r.realUs = run.GetAdjustedRealTime() * toUs;
      auto it = run.counters.find("allocs");
      if (it != run.counters.end()) r.allocs = it->second.value;
      it = run.counters.find("outside");
      if (it != run.counters.end()) r.outside = it->second.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  std::map<std::string, bool> seenMedian_;
};

const Result* find(const std::map<std::string, Result>& all, const std::string& key) {
  auto it = all.find(key);
  return it == all.end() ? nullptr : &it->second;
}

std::string num(double v, const char* format = "%.2f") {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

const char* verdict(bool ok) { return ok ? "ok" : "MISSED"; }

void printTable(const std::map<std::string, Result>& all, const std::vector<ContentionResult>& contention,
                const LockWait& lockWait, int repetitions, const char* statistic) {
  std::printf("\nFrame path: ours against the limits (CPU time per frame, %s of %d repetitions)\n\n", statistic,
              repetitions);
  std::printf("%-22s %-6s %8s %8s %6s %8s %6s %8s %6s %6s %5s  %s\n", "intake (SDK thread)", "size", "ours us",
              "limit", "/limit", "2-buf", "/2-buf", "base", "/base", "allocs", "ours", "target");
  struct IntakeRow {
    const char* label;
    const char* ours;
    const char* limit;
    const char* twoBuffers;
    const char* baseline;
    bool byteLoop;
  };
  const IntakeRow intake[] = {
      {"Brisora I420", "Intake_Brisora_I420", "Limit_I420ToARGB", "Limit2_I420ToARGB", "Baseline_I420Fresh", false},
      {"Brisora 24-bit (8)", "Intake_Brisora_RGB24", "Limit_RGB24ToARGB", "Limit2_RGB24ToARGB",
       "Baseline_RGB24ByteLoop", true},
      {"Tamvex I420", "Intake_Tamvex_I420", "Limit_I420ToARGB", "Limit2_I420ToARGB", "Baseline_I420Fresh", false},
      {"Tamvex BGRA", "Intake_Tamvex_BGRA", "Limit_Memcpy", "Limit2_Memcpy", "Baseline_BGRAFresh", false},
  };
  for (const IntakeRow& row : intake) {
    for (int s = 0; s < 3; ++s) {
      const std::string arg = "/" + std::to_string(s);
      const Result* o = find(all, row.ours + arg);
      const Result* l = find(all, row.limit + arg);
      const Result* b = find(all, row.baseline + arg);
      const Result* two = find(all, row.twoBuffers + arg);
      if (!o || !l || !b || !two) continue;
      const double vsLimit = o->cpuUs / l->cpuUs, vsTwo = o->cpuUs / two->cpuUs, vsBase = o->cpuUs / b->cpuUs;
      bool ok = vsLimit <= 1.15 && o->outside < 0.005;
      if (row.byteLoop) ok = ok && vsBase <= 1.0 / 3.0;
      std::printf("%-22s %-6s %8s %8s %6s %8s %6s %8s %6s %6s %5s  %s\n", row.label, kSizeNames[s],
                  num(o->cpuUs, "%.1f").c_str(), num(l->cpuUs, "%.1f").c_str(), num(vsLimit).c_str(),
                  num(two->cpuUs, "%.1f").c_str(), num(vsTwo).c_str(), num(b->cpuUs, "%.1f").c_str(),
                  num(vsBase).c_str(), num(o->allocs).c_str(), num(o->outside).c_str(), verdict(ok));
    }
  }

  const Result* emptyCall = find(all, "Runtime_EmptyCall");
  const double hostAllocs = emptyCall ? emptyCall->outside : 0;
  std::printf("  (limit: the conversion or memcpy alone into one warm buffer; 2-buf: the same into two buffers in\n"
              "   turn, as a store that publishes finished frames writes them; base: a fresh buffer per frame and,\n"
              "   for 24-bit, a byte loop; allocs: all per frame, ours: those outside the runtime's functions)\n");
  std::printf("\n%-22s %-6s %8s %8s %6s %8s %6s %6s %5s  %s\n", "pull (main thread)", "size", "ours us", "memcpy",
              "/limit", "runtime", "net", "allocs", "ours", "target");
  struct PullRow {
    const char* label;
    const char* ours;
    const char* runtime;
  };
  const PullRow pulls[] = {
      {"Brisora getVideoData", "Pull_Brisora", "Runtime_PullCall"},
      {"Tamvex getVideoData", "Pull_Tamvex", "Runtime_PullCall"},
      {"Brisora getVideoBitmap", "PullBitmap_Brisora", "Runtime_NewBitmap"},
  };
  for (const PullRow& row : pulls) {
    for (int s = 0; s < 3; ++s) {
      const std::string arg = "/" + std::to_string(s);
      const Result* o = find(all, row.ours + arg);
      const Result* l = find(all, "Limit_Memcpy" + arg);
      const Result* r = find(all, row.runtime + arg);
      if (!o || !l || !r) continue;
      const double vsLimit = o->cpuUs / l->cpuUs;
      const double net = (o->cpuUs - r->cpuUs) / l->cpuUs;  // without the runtime's own work
      const double ours = o->outside - hostAllocs;
      const bool ok = vsLimit <= 1.15 && ours < 0.005;
      std::printf("%-22s %-6s %8s %8s %6s %8s %6s %6s %5s  %s\n", row.label, kSizeNames[s],
                  num(o->cpuUs, "%.1f").c_str(), num(l->cpuUs, "%.1f").c_str(), num(vsLimit).c_str(),
                  num(r->cpuUs, "%.1f").c_str(), num(net).c_str(), num(o->allocs).c_str(), num(ours).c_str(),
                  verdict(ok));
    }
  }
  std::printf("  (runtime: the runtime stand-in's own work for the same call, measured alone; for a bitmap it makes\n"
              "   and fills the new BitmapData. net = (ours - runtime) / memcpy. ours: allocations outside the\n"
              "   runtime less those of an empty call)\n");

  if (!contention.empty()) {
    std::printf("\n%-22s %8s %8s %8s %8s %8s %8s %8s %7s  %s\n", "pull under 1080p flood", "p50 us", "p99 us",
                "cpy p50", "cpy p99", "alone50", "alone99", "p99/cpy", "frames", "target");
    for (const ContentionResult& c : contention) {
      // Against the memcpy timed beside each pull, under the same flood and load.
      const double ratio = c.pull.p99 / c.memcpyFlood.p99;
      std::printf("%-22s %8s %8s %8s %8s %8s %8s %8s %7zu  %s\n", (c.extension + " getVideoData").c_str(),
                  num(c.pull.p50, "%.0f").c_str(), num(c.pull.p99, "%.0f").c_str(),
                  num(c.memcpyFlood.p50, "%.0f").c_str(), num(c.memcpyFlood.p99, "%.0f").c_str(),
                  num(c.memcpyAlone.p50, "%.0f").c_str(), num(c.memcpyAlone.p99, "%.0f").c_str(), num(ratio).c_str(),
                  c.pull.framesDelivered, verdict(ratio <= 1.5));
    }
    std::printf("%-22s %8s %8s %8s %8s\n", "core frame store", "wait p50", "wait p99", "copy p50", "copy p99");
    std::printf("%-22s %8s %8s %8s %8s\n", "  read under the flood", num(lockWait.wait.p50, "%.1f").c_str(),
                num(lockWait.wait.p99, "%.1f").c_str(), num(lockWait.copy.p50, "%.0f").c_str(),
                num(lockWait.copy.p99, "%.0f").c_str());
    std::printf("  (wall time, microseconds; cpy = a memcpy of the frame timed right after each pull, under the same\n"
                "   flood; alone = the same memcpy with no flood; frames = frames stored while the pulls ran;\n"
                "   wait = time a reader of the core's frame store waits for its lock while a writer converts)\n");
  }

  std::printf("\n%-22s %-6s %8s %8s %6s %8s %8s %6s\n", "convert on pull (tried)", "size", "pull us", "now us",
              "/now", "intake", "now us", "/now");
  for (int s = 0; s < 3; ++s) {
    const std::string arg = "/" + std::to_string(s);
    const Result* pullConvert = find(all, "Try_PullConvert" + arg);
    const Result* pullNow = find(all, "Pull_Tamvex" + arg);
    const Result* copyIn = find(all, "Try_IntakeCopyI420" + arg);
    const Result* intakeNow = find(all, "Intake_Tamvex_I420" + arg);
    if (!pullConvert || !pullNow || !copyIn || !intakeNow) continue;
    std::printf("%-22s %-6s %8s %8s %6s %8s %8s %6s\n", "I420, one pull a frame", kSizeNames[s],
                num(pullConvert->cpuUs, "%.1f").c_str(), num(pullNow->cpuUs, "%.1f").c_str(),
                num(pullConvert->cpuUs / pullNow->cpuUs).c_str(), num(copyIn->cpuUs, "%.1f").c_str(),
                num(intakeNow->cpuUs, "%.1f").c_str(), num(copyIn->cpuUs / intakeNow->cpuUs).c_str());
  }
  std::printf("  (pull: I420 converted into the array on the main thread, against today's getVideoData; intake: a\n"
              "   copy of the I420 frame on the SDK thread, against today's intake. Adopted only if pull/now <= 1)\n");

  std::printf("\n%-22s %14s %16s\n", "scale (720p I420)", "us per frame", "streams per core");
  for (const char* name : {"Scale720_Brisora", "Scale720_Tamvex"}) {
    const Result* r = find(all, name);
    if (!r) continue;
    const double perFrame = r->cpuUs / double(remoteUsers().size());
    std::printf("%-22s %14s %16s\n", name + 9, num(perFrame).c_str(), num(1e6 / (30.0 * perFrame), "%.1f").c_str());
  }
  std::printf("  (intake + one getVideoData per frame, %zu remote users in turn, 30 frames a second each)\n",
              remoteUsers().size());
}

bool writeResults(const std::map<std::string, Result>& all, const std::string& file) {
  std::FILE* out = std::fopen(file.c_str(), "w");
  if (!out) return false;
  for (const auto& [name, r] : all) std::fprintf(out, "%s %.3f\n", name.c_str(), r.cpuUs);
  return std::fclose(out) == 0;
}

bool takeFlag(const char* arg, const char* name, long* value) {
  const size_t n = std::strlen(name);
  if (std::strncmp(arg, name, n) != 0 || arg[n] != '=') return false;
  *value = std::strtol(arg + n + 1, nullptr, 10);
  return true;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  long rounds = 3, pulls = 200, table = 1;
  std::string statistic = "median", resultsFile;
  std::vector<char*> args = {argv[0]};
  static char repetitions[] = "--benchmark_repetitions=5";
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  static char aggregates[] = "--benchmark_report_aggregates_only=true";
  static char minTime[] = "--benchmark_min_time=0.2";
  args.insert(args.end(), {repetitions, interleave, aggregates, minTime});
  for (int i = 1; i < argc; ++i) {
    if (bench::takeFlag(argv[i], "--contention-rounds", &rounds) ||
        bench::takeFlag(argv[i], "--contention-pulls", &pulls))
      continue;
    if (std::strcmp(argv[i], "--table-min") == 0) {
      statistic = "min";
      continue;
    }
    if (std::strcmp(argv[i], "--no-table") == 0) {
      table = 0;
      continue;
    }
    if (std::strncmp(argv[i], "--results=", 10) == 0) {
      resultsFile = argv[i] + 10;
      continue;
    }
    args.push_back(argv[i]);  // later flags override the defaults above
  }
  int reps = 5;
  for (char* a : args)
    if (std::strncmp(a, "--benchmark_repetitions=", 24) == 0) reps = std::atoi(a + 24);
  int count = int(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 2;

  // Both extensions and the SDK stand-ins loaded before anything is measured,
  // so that every module of ours is counted (alloc_counter.h).
  bench::BrisoraSession::get();
  bench::TamvexSession::get();
  bench::watchModules();
  bench::registerBenchmarks();
  bench::Collector collector;
  collector.statistic = statistic;
  benchmark::RunSpecifiedBenchmarks(&collector);
  std::vector<bench::ContentionResult> contention;
  bench::LockWait lockWait;
  if (rounds > 0 && pulls > 0) {
    contention = bench::measureContention(int(rounds), size_t(pulls));
    lockWait = bench::measureLockWait(int(rounds), size_t(pulls));
  }
  if (table) bench::printTable(collector.results, contention, lockWait, reps, statistic == "min" ? "fastest" : "medians");
  if (table) bench::printPixelMemory();
  if (!resultsFile.empty() && !bench::writeResults(collector.results, resultsFile)) {
    std::fprintf(stderr, "frame_bench: cannot write %s\n", resultsFile.c_str());
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}
