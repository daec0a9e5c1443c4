#include "rules.h"

#include <algorithm>

#include "air/host.h"

namespace anehost {

void RuleWatch::expect(int line, const cmd::ExpectCount& c) {
  Expected& e = c.of == cmd::ExpectCount::Of::Breaches ? breaches_ : late_;
  e.count = c.count;
  e.line = line;
}

void RuleWatch::show() {
  const std::vector<std::string> log = air::breachLog();
  for (size_t i = logShown_; i < log.size(); ++i) t_.item("breach", t_.qb(log[i]));
  logShown_ = log.size();
  if (log.size() >= kRuntimeLogLines) {  // the runtime keeps no more lines: the rest are counted
    const uint64_t total = air::breaches().total();
    const uint64_t shown = std::max<uint64_t>(countShown_, log.size());
    if (total > shown) t_.item("breach", std::to_string(total - shown) + " more, past the runtime's log");
    countShown_ = std::max(total, shown);
  }
  const uint64_t late = air::eventsAfterFinalize();
  if (late > lateShown_) {
    t_.item("late", std::to_string(late - lateShown_) + " event(s) sent to a finalized context");
    lateShown_ = late;
  }
}

std::string RuleWatch::miss(uint64_t seen, const char* what, const Expected& wanted) const {
  if (seen == wanted.count) return {};
  return std::to_string(seen) + " " + what + ", the script expects " +
         (wanted.line ? std::to_string(wanted.count) + " (line " + std::to_string(wanted.line) + ")" : "none");
}

std::vector<std::string> RuleWatch::finish() {
  show();
  const auto b = air::breaches();
  t_.say("runtime rule breaches: " + std::to_string(b.total()) +
         (b.total() ? " (wrong thread " + std::to_string(b.wrongThread) + ", illegal state " +
                          std::to_string(b.illegalState) + ", invalid object " + std::to_string(b.invalidObject) +
                          ", invalid argument " + std::to_string(b.invalidArgument) + ")"
                    : ""));
  for (const auto& line : air::breachLog()) t_.item("breach", t_.qb(line));
  const uint64_t late = air::eventsAfterFinalize();
  if (late) t_.say("events sent to a finalized context: " + std::to_string(late));
  std::vector<std::string> misses;
  for (std::string m : {miss(b.total(), "runtime rule breach(es)", breaches_),
                        miss(late, "event(s) sent to a finalized context", late_)}) {
    if (m.empty()) continue;
    t_.say("    FAILED end: " + m);
    misses.push_back(std::move(m));
  }
  return misses;
}

}  // namespace anehost
