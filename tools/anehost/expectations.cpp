#include "expectations.h"

#include <cmath>

#include "standin_common/tokens.h"

namespace anehost {
namespace {

// The text without blanks outside quoted texts, so "Op(1, \"a b\")" and
// "Op(1,\"a b\")" compare equal.
std::string squeeze(const std::string& s) {
  std::string out;
  for (const auto& t : standin_common::tokenize(s, standin_common::Grammar().withBlanks(" \t")).tokens)
    out.append(s, t.begin, t.end - t.begin);
  return out;
}

// The number a value holds, as ActionScript compares numbers.
bool numberOf(const air::Value& v, double* out) {
  if (auto p = std::get_if<int32_t>(&v)) *out = *p;
  else if (auto q = std::get_if<uint32_t>(&v)) *out = *q;
  else if (auto d = std::get_if<double>(&v)) *out = *d;
  else return false;
  return true;
}

}  // namespace

bool sdkCallMatches(const std::string& expected, const std::string& actual) {
  const std::string e = squeeze(expected);
  const std::string a = squeeze(actual);
  if (e.find('(') == std::string::npos) return a.substr(0, a.find('(')) == e;
  if (e.size() >= 4 && e.compare(e.size() - 4, 4, "...)") == 0) {
    const std::string prefix = e.substr(0, e.size() - 4);
    return a.compare(0, prefix.size(), prefix) == 0;
  }
  return a == e;
}

bool win32CallMatches(const std::string& expected, const std::string& actual) {
  const auto resultOf = [](const std::string& s) {
    const size_t close = s.rfind(')');
    const size_t arrow = s.find("->", close == std::string::npos ? 0 : close);
    return arrow;
  };
  const size_t wantedArrow = resultOf(expected), actualArrow = resultOf(actual);
  if (wantedArrow == std::string::npos) return sdkCallMatches(expected, actual.substr(0, actualArrow));
  return sdkCallMatches(expected.substr(0, wantedArrow), actual.substr(0, actualArrow)) &&
         actualArrow != std::string::npos && squeeze(expected.substr(wantedArrow)) == squeeze(actual.substr(actualArrow));
}

bool sameValue(const air::Value& a, const air::Value& b) {
  double x, y;
  if (numberOf(a, &x) && numberOf(b, &y)) return x == y || (std::isnan(x) && std::isnan(y));
  if (a.index() != b.index()) return false;
  return a == b;  // objects compare by identity (shared_ptr), the rest by value
}

void Expectations::result(const air::Value& returned, const air::Value& wanted) {
  if (!sameValue(returned, wanted))
    failed("expected result " + t_.value(wanted) + ", the call returned " + t_.value(returned));
}

void Expectations::event(const Command& c) {
  auto& events = seen_.events();
  seen_.pollUntil(o_.timeoutMs, [&] { return !events.empty(); });
  const std::string wanted = t_.q(c.name) + (c.hasText ? " " + t_.q(c.text) : "");
  if (events.empty()) failed("expected event " + wanted + ", no event arrived within " + std::to_string(o_.timeoutMs) + " ms");
  const air::Event e = events.front();
  events.pop_front();
  if (e.code != c.name || (c.hasText && e.level != c.text))
    failed("expected event " + wanted + ", the next event was " + t_.q(e.code) + " " + t_.q(e.level));
}

void Expectations::noEvent() {
  seen_.pump(true);
  const auto& events = seen_.events();
  if (!events.empty())
    failed("expected no event, but " + t_.q(events.front().code) + " " + t_.q(events.front().level) +
           (events.size() > 1 ? " and " + std::to_string(events.size() - 1) + " more" : "") + " arrived");
}

void Expectations::console(const Command& c) {
  auto& lines = seen_.consoleLines();
  const auto matches = [&](const std::string& line) {
    return c.flag ? line.find(c.text) != std::string::npos : line == c.text;
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
    for (size_t i = 0; i < lines.size() && i < 5; ++i) seen += "\n        " + t_.q(lines[i]);
    if (lines.size() > 5) seen += "\n        ...";
    failed(std::string("expected a console line ") + (c.flag ? "containing " : "") + t_.q(c.text) +
           "; lines printed since the last call: " + seen);
  }
}

void Expectations::sdk(const Command& c, bool haveSdk) {
  if (!haveSdk) scriptError(c, "this extension has no simulated SDK");
  seen_.pump(true);
  auto& calls = seen_.calls();
  if (calls.empty()) failed("expected the SDK call " + c.text + ", the extension made no further SDK call");
  const std::string call = calls.front();
  calls.pop_front();
  if (!sdkCallMatches(c.text, call)) failed("expected the SDK call " + c.text + ", the next SDK call was " + call);
}

void Expectations::noSdk() {
  seen_.pump(true);
  if (!seen_.calls().empty()) failed("expected no SDK call, but the extension called " + seen_.calls().front());
}

void Expectations::win32(const Command& c) {
  seen_.pump(true);
  auto& calls = seen_.win32Calls();
  if (calls.empty()) failed("expected the Win32 call " + c.text + ", no further Win32 call was made");
  const std::string call = calls.front();
  calls.pop_front();
  if (!win32CallMatches(c.text, call)) failed("expected the Win32 call " + c.text + ", the next Win32 call was " + call);
}

void Expectations::noWin32() {
  seen_.pump(true);
  if (!seen_.win32Calls().empty()) failed("expected no Win32 call, but " + seen_.win32Calls().front() + " was made");
}

void Expectations::size(const Command& c, const air::Value& v) {
  if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
    const uint64_t wanted = c.hasSize ? uint64_t{c.width} * c.height * 4 : c.number;
    if ((*b)->bytes.size() != wanted)
      failed(c.name + " holds " + std::to_string((*b)->bytes.size()) + " bytes, expected " + std::to_string(wanted));
  } else if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
    if (!c.hasSize) scriptError(c, c.name + " is a BitmapData: expect size NAME W H");
    if ((*m)->width != c.width || (*m)->height != c.height)
      failed(c.name + " is " + std::to_string((*m)->width) + "x" + std::to_string((*m)->height) + ", expected " +
             std::to_string(c.width) + "x" + std::to_string(c.height));
  } else {
    failed(c.name + " is " + t_.value(v) + ", not a ByteArray or BitmapData");
  }
}

void Expectations::noBreach() {
  const auto total = air::breaches().total();
  if (total) failed("the extension broke the runtime's rules " + std::to_string(total) + " time(s)");
}

}  // namespace anehost
