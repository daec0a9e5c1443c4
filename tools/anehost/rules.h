// The runtime's rules over a whole run: each breach, and each event raised to
// a context already finalized, is shown under the step where it happened, and
// fails the run at its end unless the script expects exactly that many
// (`expect breaches N`, `expect late events N`).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script.h"
#include "transcript.h"

namespace anehost {

class RuleWatch {
 public:
  explicit RuleWatch(Transcript& transcript) : t_(transcript) {}

  // `expect breaches N` / `expect late events N`: the count the run must end with.
  void expect(int line, const cmd::ExpectCount& c);
  // Shows the breaches and late events that happened since the last look.
  void show();
  // The summary; each count that differs from what the script expects is a
  // failure, printed as "FAILED end: ..." and returned as a message.
  std::vector<std::string> finish();

 private:
  struct Expected {
    uint64_t count = 0;
    int line = 0;  // 0: the script says nothing, and expects none
  };
  std::string miss(uint64_t seen, const char* what, const Expected& wanted) const;

  Transcript& t_;
  static constexpr size_t kRuntimeLogLines = 256;  // air::breachLog keeps at most these
  size_t logShown_ = 0;     // lines of the runtime's breach log shown
  uint64_t countShown_ = 0;  // breaches shown, once the log is full
  uint64_t lateShown_ = 0;
  Expected breaches_, late_;
};

}  // namespace anehost
