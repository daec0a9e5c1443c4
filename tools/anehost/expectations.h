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
  void event(const EventPattern& wanted);
  void noEvent();
  // The texts of console and SDK-call expectations come with their placeholders replaced.
  void console(const cmd::ExpectConsole& c);
  void noConsole();
  // The expectations of SDK calls need a simulated SDK; the line is the expectation's.
  void sdk(int line, const cmd::ExpectSdk& c);
  void noSdk();
  // `expect events any order ...`: the next events, as many as listed, are these in some order.
  void eventSet(const std::vector<EventPattern>& wanted);
  void win32(const std::string& call);
  void noWin32();
  // Of the value bound to the name; a script error names the line.
  void size(int line, const cmd::ExpectSize& c, const air::Value& v);
  // content_expectations.cpp
  void bytes(int line, const cmd::ExpectBytes& c, const air::Value& v);
  // `expect bytes NAME same as OTHER`: the same length and bytes.
  void sameBytes(const cmd::ExpectSameBytes& c, const air::Value& v, const air::Value& other);
  void pixel(int line, const cmd::ExpectPixel& c, const air::Value& v);
  void picture(int line, const cmd::ExpectPicture& c, const air::Value& v);
  void noBreach();

 private:
  void consoleExactly(const std::string& text);
  void nextSdkCall(const std::string& call);
  // `expect sdk later CALL`: the calls before the first that matches are passed over.
  void laterSdkCall(const std::string& call);
  // `expect no sdk CALL`: none among the calls not yet expected, nor made until the next step ends.
  void noSdkCall(const std::string& call, int line);
  void repeatedBytes(const std::string& name, const std::string& have, size_t offset, const std::string& run);
  const Options& o_;
  Transcript& t_;
  Observer& seen_;
};

}  // namespace anehost
