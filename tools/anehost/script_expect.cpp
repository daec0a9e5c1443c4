// The expectations of a script line: `expect ...` read into a command, one
// reader for each word after `expect`.
#include "call_lines.h"
#include "script_line.h"

namespace anehost {
namespace {

// OPERATION[(ARGS...)] after the first `words` words of the line, as written.
bool callPattern(LineReading& r, int words, const char* what, std::string* call) {
  *call = restAfter(r.line, words);
  std::string message;
  if (call->empty()) return r.p.fail(std::string("expected ") + what);
  if (!checkCallPattern(*call, &message)) return r.p.fail(message);
  return true;
}

bool result(LineReading& r, Command::Action* out) {
  cmd::ExpectResult result;
  const bool ok = r.p.literal(&result.value, false) && r.p.end();
  *out = std::move(result);
  return ok;
}

// `expect events any order CODE [LEVEL], CODE [LEVEL], ...`
bool eventSet(LineReading& r, Command::Action* out) {
  LineParser& p = r.p;
  if (!p.word("any") || !p.word("order")) return p.fail("expected 'expect events any order CODE [LEVEL], ...'");
  cmd::ExpectEventSet set;
  do {
    EventPattern e;
    if (!p.text(&e.code, "an event code")) return false;
    if (!p.atEnd() && !p.punct(',')) {
      if (!p.text(&e.level, "an event level")) return false;
      e.hasLevel = true;
      if (!p.atEnd() && !p.punct(',')) return p.fail("expected ',' between the events");
    }
    set.events.push_back(std::move(e));
  } while (!p.atEnd());
  *out = std::move(set);
  return true;
}

bool breaches(LineReading& r, Command::Action* out) {
  cmd::ExpectCount count{cmd::ExpectCount::Of::Breaches};
  const bool ok = r.p.unsignedNumber(0xFFFFFFFFull, &count.count, "a count of breaches") && r.p.end();
  *out = count;
  return ok;
}

bool lateEvents(LineReading& r, Command::Action* out) {
  cmd::ExpectCount count{cmd::ExpectCount::Of::LateEvents};
  const bool ok = (r.p.word("events") || r.p.fail("expected 'expect late events N'")) &&
                  r.p.unsignedNumber(0xFFFFFFFFull, &count.count, "a count of events") && r.p.end();
  *out = count;
  return ok;
}

bool event(LineReading& r, Command::Action* out) {
  cmd::ExpectEvent event;
  const bool ok = r.p.event(&event.event) && r.p.end();
  *out = std::move(event);
  return ok;
}

// `expect console [contains|matching|exactly] TEXT`: a word before a text says how it is compared.
bool console(LineReading& r, Command::Action* out) {
  using Match = cmd::ExpectConsole::Match;
  cmd::ExpectConsole console;
  const bool qualified = r.tokens.size() == 4;
  if (qualified && r.p.word("contains")) console.match = Match::Containing;
  else if (qualified && r.p.word("matching")) console.match = Match::Pattern;
  else if (qualified && r.p.word("exactly")) console.match = Match::Exactly;
  const bool ok = r.p.text(&console.text, "a console line") && r.p.end();
  *out = std::move(console);
  return ok;
}

// `expect sdk [later] CALL`
bool sdk(LineReading& r, Command::Action* out) {
  cmd::ExpectSdk sdk;
  sdk.when = r.p.word("later") ? cmd::ExpectSdk::When::Later : cmd::ExpectSdk::When::Next;
  const bool ok = callPattern(r, sdk.when == cmd::ExpectSdk::When::Later ? 3 : 2, "an SDK operation", &sdk.call);
  *out = std::move(sdk);
  return ok;
}

bool win32(LineReading& r, Command::Action* out) {
  cmd::ExpectWin32 win32;
  const bool ok = callPattern(r, 2, "a Win32 call", &win32.call);
  *out = std::move(win32);
  return ok;
}

// `expect size NAME N`, `expect size NAME WxH` or `expect size NAME W H`.
bool size(LineReading& r, Command::Action* out) {
  cmd::ExpectSize size;
  bool ok = r.p.boundName(&size.name);
  if (ok) {
    const Token* t = r.p.peek();
    const bool oneWord = t && t->kind == Token::Kind::Number && t->text.find('x') != std::string::npos &&
                         t->text.compare(0, 2, "0x") != 0;
    if (oneWord || r.tokens.size() == 5) ok = r.p.size(&size.size);
    else ok = r.p.unsignedNumber(0xFFFFFFFFull, &size.length, "a length");
  }
  *out = std::move(size);
  return ok && r.p.end();
}

// After `expect bytes NAME fill`: W H 0xAARRGGBB.
bool fill(LineParser& p, cmd::ExpectBytes* bytes) {
  uint64_t colour = 0;
  Literal& frame = bytes->contents;
  if (!p.size(&frame.width, &frame.height)) return false;
  p.punct(',');
  if (!p.unsignedNumber(0xFFFFFFFFull, &colour, "a colour 0xAARRGGBB")) return false;
  if (uint64_t{frame.width} * frame.height * 4 > kMaxByteArray) return p.fail("a ByteArray holds at most 268435456 bytes");
  frame.content = Literal::Content::Fill;
  frame.colour = static_cast<uint32_t>(colour);
  bytes->fill = true;
  return true;
}

// After `expect bytes NAME`: [at OFFSET] [repeat] CONTENTS.
bool contents(LineParser& p, cmd::ExpectBytes* bytes) {
  if (p.word("at")) {
    if (!p.unsignedNumber(0xFFFFFFFFull, &bytes->offset, "an offset")) return false;
    bytes->hasOffset = true;
  }
  bytes->repeated = p.word("repeat");
  if (!p.byteContents(&bytes->contents)) return false;
  if (bytes->repeated && bytes->contents.content == Literal::Content::Given && bytes->contents.data.empty())
    return p.fail("a repeated run needs at least one byte");
  return true;
}

// `expect bytes NAME` then: [at OFFSET] [repeat] CONTENTS | fill W H 0xAARRGGBB | same as OTHER
bool bytes(LineReading& r, Command::Action* out) {
  LineParser& p = r.p;
  std::string name;
  if (!p.boundName(&name)) return false;
  if (p.word("same")) {
    cmd::ExpectSameBytes same{name, {}};
    const bool ok = (p.word("as") || p.fail("expected 'same as NAME'")) && p.boundName(&same.other) && p.end();
    *out = std::move(same);
    return ok;
  }
  cmd::ExpectBytes bytes;
  bytes.name = std::move(name);
  const bool ok = (p.word("fill") ? fill(p, &bytes) : contents(p, &bytes)) && p.end();
  *out = std::move(bytes);
  return ok;
}

// `expect pixel NAME [W H] at X Y 0xAARRGGBB [within N]`
bool pixel(LineReading& r, Command::Action* out) {
  LineParser& p = r.p;
  cmd::ExpectPixel pixel;
  bool ok = p.boundName(&pixel.name);
  if (ok && !p.word("at")) ok = p.size(&pixel.size) && (p.word("at") || p.fail("expected 'at X Y' after the size"));
  uint64_t x = 0, y = 0, colour = 0;
  ok = ok && p.unsignedNumber(65535, &x, "a column") && (p.punct(','), true) && p.unsignedNumber(65535, &y, "a row") &&
       p.unsignedNumber(0xFFFFFFFFull, &colour, "a colour 0xAARRGGBB") && p.tolerance(&pixel.tolerance) && p.end();
  pixel.x = static_cast<uint32_t>(x);
  pixel.y = static_cast<uint32_t>(y);
  pixel.colour = static_cast<uint32_t>(colour);
  *out = std::move(pixel);
  return ok;
}

// `expect picture NAME [W H] FILE.png [within N]`
bool picture(LineReading& r, Command::Action* out) {
  LineParser& p = r.p;
  cmd::ExpectPicture picture;
  bool ok = p.boundName(&picture.name);
  const Token* t = p.peek();
  if (ok && t && t->kind == Token::Kind::Number) ok = p.size(&picture.size);
  ok = ok && p.text(&picture.file, "a PNG file") && p.tolerance(&picture.tolerance) && p.end();
  *out = std::move(picture);
  return ok;
}

// `expect no event|console|sdk|win32|breach`, and `expect no sdk CALL`.
bool nothing(LineReading& r, Command::Action* out) {
  using Of = cmd::ExpectNothing::Of;
  LineParser& p = r.p;
  if (p.word("sdk") && !p.atEnd()) {
    cmd::ExpectSdk never;
    never.when = cmd::ExpectSdk::When::Never;
    const bool ok = callPattern(r, 3, "an SDK operation", &never.call);
    *out = std::move(never);
    return ok;
  }
  cmd::ExpectNothing nothing;
  bool ok = true;
  if (r.tokens.size() == 3 && r.tokens[2].text == "sdk") nothing.of = Of::Sdk;
  else if (p.word("event")) nothing.of = Of::Event;
  else if (p.word("win32")) nothing.of = Of::Win32;
  else if (p.word("console")) nothing.of = Of::Console;
  else if (p.word("breach")) nothing.of = Of::Breach;
  else ok = p.fail("expected 'expect no event', 'expect no console', 'expect no sdk [CALL]', 'expect no win32' or 'expect no breach'");
  *out = nothing;
  return ok && p.end();
}

const struct {
  const char* word;
  CommandReader read;
} kExpectations[] = {
    {"result", result}, {"events", eventSet}, {"breaches", breaches}, {"late", lateEvents}, {"event", event},
    {"console", console}, {"sdk", sdk}, {"win32", win32}, {"size", size}, {"bytes", bytes},
    {"pixel", pixel}, {"picture", picture}, {"no", nothing},
};

}  // namespace

bool parseExpect(LineReading& r, Command::Action* out) {
  for (const auto& expectation : kExpectations)
    if (r.p.word(expectation.word)) return expectation.read(r, out);
  return r.p.fail("expected 'expect result|event|events|console|sdk|win32|size|bytes|pixel|picture|breaches|late events|no ...'");
}

}  // namespace anehost
