// The transcript of a session: each script line, then what the application
// would see (console lines, events, SDK calls, results, notes), and the
// failures that end a run.
#pragma once

#include <cstdio>
#include <string>

#include "air/host.h"
#include "script.h"

namespace anehost {

// A failure that ends the run: a script error (2) or a failed expectation (1).
struct Stop {
  int code;
  std::string message;
};

// A script error of the command on that line.
[[noreturn]] void scriptError(int line, const std::string& message);
[[noreturn]] void failed(const std::string& message);

// A value as anehost prints it: "text" quoted, 12, 12u, 1.5, ByteArray(N bytes), ...
std::string valueText(const air::Value& v, bool rawUtf8);

class Transcript {
 public:
  Transcript(FILE* out, bool rawUtf8) : out_(out), rawUtf8_(rawUtf8) {}

  // One line as it is.
  void say(const std::string& line);
  // "    <tag>  text", the tag in a column of its own.
  void item(const char* tag, const std::string& text);
  // A text quoted as the transcript shows texts.
  std::string q(const std::string& s) const;
  // Bytes of no known encoding (console output) quoted: non-ASCII as \xNN.
  std::string qb(const std::string& s) const;
  // A line of an SDK call log, its texts shown as bytes.
  std::string call(const std::string& line) const;
  std::string value(const air::Value& v) const { return valueText(v, rawUtf8_); }

 private:
  FILE* out_;
  bool rawUtf8_;
};

}  // namespace anehost
