// Lines of the simulated SDKs' call logs as the transcript shows them and as
// `expect sdk` matches them. A call line is Operation(arg, arg, ...) with
// texts quoted; the texts are compared by their bytes, so an expectation may
// write them with any escape the script language knows.
#pragma once

#include <string>

namespace anehost {

// The call line with its quoted texts shown as bytes (quoteBytes).
std::string callLineText(const std::string& call, bool rawUtf8);

// Whether an `expect sdk` pattern is well formed (its texts' escapes); false
// with a message otherwise.
bool checkCallPattern(const std::string& pattern, std::string* error);

// Whether a call-log line matches what `expect sdk` wrote:
// - the operation alone (no parenthesis): only the part before '(' is compared;
// - otherwise the whole call, piece by piece (blanks do not matter);
// - "..." stands for any run of pieces ("f(1, ...)", "f({1, ...}, 0)");
// - '*' in a word outside quoted texts stands for any run of characters
//   ("CameraList*.getCount()"), for names that carry a run-wide counter.
bool callMatches(const std::string& pattern, const std::string& actual);

}  // namespace anehost
