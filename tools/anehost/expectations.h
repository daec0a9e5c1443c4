// Expectations: what `expect ...` compares the extension's results, events,
// console lines, SDK calls and buffers with. A miss throws Stop (failed).
#pragma once

#include <string>

#include "air/host.h"
#include "observer.h"
#include "session.h"
#include "transcript.h"

namespace anehost {

// Whether a Win32 call line "Call(args) -> result" matches what `expect win32`
// wrote, as callMatches compares calls; without "->" the expectation leaves
// the result out of the comparison.
bool win32CallMatches(const std::string& expected, const std::string& actual);
// The same type and value: 3, 3u and 3.0 differ, as ActionScript tells int,
// uint and Number apart; NaN equals NaN; objects compare by identity.
bool sameValue(const air::Value& a, const air::Value& b);

class Expectations {
 public:
  Expectations(const Options& options, Transcript& transcript, Observer& observer)
      : o_(options), t_(transcript), seen_(observer) {}

  void result(const air::Value& returned, const air::Value& wanted);
  void event(const Command& c);
  void noEvent();
  void console(const Command& c);
  void consoleExactly(const Command& c);
  void noConsole();
  void sdk(const Command& c, bool haveSdk);
  void noSdk();
  // `expect sdk later CALL`: the calls before the first that matches are passed over.
  void sdkLater(const Command& c, bool haveSdk);
  // `expect no sdk CALL`: none among the calls not yet expected, nor made until the next step ends.
  void noSdkCall(const Command& c, bool haveSdk);
  // `expect events any order ...`: the next events, as many as listed, are these in some order.
  void eventSet(const Command& c);
  void win32(const Command& c);
  void noWin32();
  void size(const Command& c, const air::Value& v);
  // content_expectations.cpp
  void bytes(const Command& c, const air::Value& v);
  // `expect bytes NAME same as OTHER`: the same length and bytes.
  void sameBytes(const Command& c, const air::Value& v, const air::Value& other);
  void pixel(const Command& c, const air::Value& v);
  void picture(const Command& c, const air::Value& v);
  void noBreach();

 private:
  void repeatedBytes(const Command& c, const std::string& have, size_t offset, const std::string& run);
  const Options& o_;
  Transcript& t_;
  Observer& seen_;
};

}  // namespace anehost
