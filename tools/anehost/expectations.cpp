#include "expectations.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "call_lines.h"

namespace anehost {
namespace {

// The ActionScript type of a value, for messages.
const char* typeName(const air::Value& v) {
  static const char* const kNames[] = {"null", "Boolean", "int", "uint", "Number", "String", "ByteArray", "BitmapData", "Object"};
  static_assert(std::variant_size_v<air::Value> == sizeof kNames / sizeof kNames[0], "a name for each type");
  return kNames[v.index()];
}

// `*` any run of bytes, `?` any one byte, every other byte itself; the whole line.
bool patternMatches(const std::string& pattern, const std::string& line) {
  size_t p = 0, l = 0, star = std::string::npos, resume = 0;
  while (l < line.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || (pattern[p] != '*' && pattern[p] == line[l]))) {
      ++p;
      ++l;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = l;
    } else if (star != std::string::npos) {
      p = star + 1;
      l = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool win32CallMatches(const std::string& expected, const std::string& actual) {
  const auto resultOf = [](const std::string& s) {
    const size_t close = s.rfind(')');
    return s.find("->", close == std::string::npos ? 0 : close);
  };
  const size_t wantedArrow = resultOf(expected), actualArrow = resultOf(actual);
  if (wantedArrow == std::string::npos) return callMatches(expected, actual.substr(0, actualArrow));
  return actualArrow != std::string::npos && callMatches(expected.substr(0, wantedArrow), actual.substr(0, actualArrow)) &&
         callMatches(expected.substr(wantedArrow), actual.substr(actualArrow));
}

bool sameValue(const air::Value& a, const air::Value& b) {
  if (a.index() != b.index()) return false;
  if (auto x = std::get_if<double>(&a)) {
    const double y = std::get<double>(b);
    return *x == y || (std::isnan(*x) && std::isnan(y));
  }
  return a == b;  // objects compare by identity (shared_ptr), the rest by value
}

void Expectations::result(const air::Value& returned, const air::Value& wanted) {
  if (!sameValue(returned, wanted))
    failed("expected result " + t_.value(wanted) + " (" + typeName(wanted) + "), the call returned " +
           t_.value(returned) + " (" + typeName(returned) + ")");
}

void Expectations::event(const EventPattern& c) {
  auto& events = seen_.events();
  seen_.pollUntil(o_.timeoutMs, [&] { return !events.empty(); });
  const std::string wanted = t_.q(c.code) + (c.hasLevel ? " " + t_.q(c.level) : "");
  if (events.empty()) failed("expected event " + wanted + ", no event arrived within " + std::to_string(o_.timeoutMs) + " ms");
  const air::Event e = events.front();
  events.pop_front();
  if (!c.matches(e.code, e.level))
    failed("expected event " + wanted + ", the next event was " + t_.q(e.code) + " " + t_.q(e.level));
}

void Expectations::noEvent() {
  seen_.pump(true);
  const auto& events = seen_.events();
  if (!events.empty())
    failed("expected no event, but " + t_.q(events.front().code) + " " + t_.q(events.front().level) +
           (events.size() > 1 ? " and " + std::to_string(events.size() - 1) + " more" : "") + " arrived");
}

void Expectations::console(const cmd::ExpectConsole& c) {
  using Match = cmd::ExpectConsole::Match;
  if (c.match == Match::Exactly) return consoleExactly(c.text);
  auto& lines = seen_.consoleLines();
  const auto matches = [&](const std::string& line) {
    if (c.match == Match::Pattern) return patternMatches(c.text, line);
    return c.match == Match::Containing ? line.find(c.text) != std::string::npos : line == c.text;
  };
  size_t checked = 0;
  bool found = false;
  const auto search = [&] {
    for (; checked < lines.size(); ++checked) {
      if (matches(lines[checked])) {
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(checked) + 1);
        return found = true;
      }
    }
    return false;
  };
  if (!search()) {
    seen_.pollUntil(o_.timeoutMs, [&] {
      seen_.completePartialLine();  // a line still without its successor is complete by now
      return search();
    });
  }
  if (!found) {
    std::string seen = lines.empty() ? "none" : "";
    for (size_t i = 0; i < lines.size() && i < 5; ++i) seen += "\n        " + t_.qb(lines[i]);
    if (lines.size() > 5) seen += "\n        ...";
    failed(std::string("expected a console line ") +
           (c.match == Match::Containing ? "containing " : c.match == Match::Pattern ? "matching " : "") + t_.qb(c.text) +
           "; lines printed since the last call: " + seen);
  }
}

void Expectations::consoleExactly(const std::string& text) {
  // Waits while what arrived can still grow into the text.
  const auto& bytes = seen_.consoleBytes();
  seen_.pollUntil(o_.timeoutMs, [&] { return bytes.size() >= text.size() || text.compare(0, bytes.size(), bytes) != 0; });
  if (bytes != text)
    failed("expected the console output since the last call to be exactly " + t_.qb(text) + ", it was " +
           t_.qb(bytes));
}

void Expectations::noConsole() {
  seen_.pump(true);
  const auto& lines = seen_.consoleLines();
  if (!lines.empty())
    failed("expected no console line, but the extension printed " + t_.qb(lines.front()) +
           (lines.size() > 1 ? " and " + std::to_string(lines.size() - 1) + " more" : ""));
}

void Expectations::sdk(int line, const cmd::ExpectSdk& c) {
  switch (c.when) {
    case cmd::ExpectSdk::When::Next: return nextSdkCall(c.call);
    case cmd::ExpectSdk::When::Later: return laterSdkCall(c.call);
    case cmd::ExpectSdk::When::Never: return noSdkCall(c.call, line);
  }
}

void Expectations::nextSdkCall(const std::string& wanted) {
  seen_.pump(true);
  auto& calls = seen_.calls();
  if (calls.empty()) failed("expected the SDK call " + wanted + ", the extension made no further SDK call");
  const std::string call = calls.front();
  calls.pop_front();
  if (!callMatches(wanted, call))
    failed("expected the SDK call " + wanted + ", the next SDK call was " + t_.call(call));
}

void Expectations::noSdk() {
  seen_.pump(true);
  if (!seen_.calls().empty())
    failed("expected no SDK call, but the extension called " + t_.call(seen_.calls().front()));
}

void Expectations::laterSdkCall(const std::string& wanted) {
  seen_.pump(true);
  auto& calls = seen_.calls();
  std::string passed;
  for (size_t n = 0; !calls.empty(); ++n) {
    const std::string call = calls.front();
    calls.pop_front();
    if (callMatches(wanted, call)) return;
    if (n < 5) passed += "\n        " + t_.call(call);
    else if (n == 5) passed += "\n        ...";
  }
  failed("expected the SDK call " + wanted + " later on, the further SDK calls were: " + (passed.empty() ? "none" : passed));
}

void Expectations::noSdkCall(const std::string& forbidden, int line) {
  seen_.pump(true);
  for (const std::string& call : seen_.calls())
    if (callMatches(forbidden, call)) failed("expected no SDK call " + forbidden + ", but the extension called " + t_.call(call));
  seen_.forbid(forbidden, line);
}

void Expectations::eventSet(const std::vector<EventPattern>& wanted) {
  auto& events = seen_.events();
  const size_t n = wanted.size();
  seen_.pollUntil(o_.timeoutMs, [&] { return events.size() >= n; });
  std::vector<bool> met(n, false);
  std::string unexpected;
  const size_t taken = std::min(n, events.size());
  for (size_t k = 0; k < taken; ++k) {
    const air::Event e = events.front();
    events.pop_front();
    // One with its level given first: a code alone may stand for any of them.
    size_t i = n;
    for (int pass = 0; pass < 2 && i == n; ++pass)
      for (i = 0; i < n; ++i)
        if (!met[i] && e.code == wanted[i].code && (pass ? !wanted[i].hasLevel : wanted[i].hasLevel && e.level == wanted[i].level))
          break;
    if (i < n) met[i] = true;
    else unexpected += "\n        " + t_.q(e.code) + " " + t_.q(e.level);
  }
  std::string missing;
  for (size_t i = 0; i < n; ++i)
    if (!met[i]) missing += "\n        " + t_.q(wanted[i].code) + (wanted[i].hasLevel ? " " + t_.q(wanted[i].level) : "");
  if (missing.empty()) return;
  failed("expected " + std::to_string(n) + " events in any order; missing:" + missing +
         (unexpected.empty() ? "\n    (only " + std::to_string(taken) + " event(s) arrived within " +
                                   std::to_string(o_.timeoutMs) + " ms)"
                             : "\n    arrived instead:" + unexpected));
}

void Expectations::win32(const std::string& wanted) {
  seen_.pump(true);
  auto& calls = seen_.win32Calls();
  if (calls.empty()) failed("expected the Win32 call " + wanted + ", no further Win32 call was made");
  const std::string call = calls.front();
  calls.pop_front();
  if (!win32CallMatches(wanted, call)) failed("expected the Win32 call " + wanted + ", the next Win32 call was " + t_.call(call));
}

void Expectations::noWin32() {
  seen_.pump(true);
  if (!seen_.win32Calls().empty()) failed("expected no Win32 call, but " + seen_.win32Calls().front() + " was made");
}

void Expectations::size(int line, const cmd::ExpectSize& c, const air::Value& v) {
  const WrittenSize& size = c.size;
  if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
    const uint64_t wanted = size.given ? uint64_t{size.width} * size.height * 4 : c.length;
    if ((*b)->bytes.size() != wanted)
      failed(c.name + " holds " + std::to_string((*b)->bytes.size()) + " bytes, expected " + std::to_string(wanted));
  } else if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
    if (!size.given) scriptError(line, c.name + " is a BitmapData: expect size NAME W H");
    if ((*m)->width != size.width || (*m)->height != size.height)
      failed(c.name + " is " + std::to_string((*m)->width) + "x" + std::to_string((*m)->height) + ", expected " +
             std::to_string(size.width) + "x" + std::to_string(size.height));
  } else {
    failed(c.name + " is " + t_.value(v) + ", not a ByteArray or BitmapData");
  }
}

void Expectations::noBreach() {
  const auto total = air::breaches().total();
  if (total) failed("the extension broke the runtime's rules " + std::to_string(total) + " time(s)");
}

}  // namespace anehost
