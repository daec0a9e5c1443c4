// The expectations of a script line: `expect ...` read into a command.
#include "call_lines.h"
#include "script_line.h"

namespace anehost {
namespace {

// OPERATION[(ARGS...)] after the first `words` words of the line, as written.
bool callPattern(LineParser& p, const std::string& line, int words, const char* what, Command* c) {
  c->text = restAfter(line, words);
  std::string message;
  if (c->text.empty()) return p.fail(std::string("expected ") + what);
  if (!checkCallPattern(c->text, &message)) return p.fail(message);
  return true;
}

// `expect events any order CODE [LEVEL], CODE [LEVEL], ...`
bool eventSet(LineParser& p, Command* c) {
  c->op = Command::Op::ExpectEventSet;
  if (!p.word("any") || !p.word("order")) return p.fail("expected 'expect events any order CODE [LEVEL], ...'");
  do {
    EventPattern e;
    if (!p.text(&e.code, "an event code")) return false;
    if (!p.atEnd() && !p.punct(',')) {
      if (!p.text(&e.level, "an event level")) return false;
      e.hasLevel = true;
      if (!p.atEnd() && !p.punct(',')) return p.fail("expected ',' between the events");
    }
    c->events.push_back(std::move(e));
  } while (!p.atEnd());
  return true;
}

// `expect bytes NAME` then: [at OFFSET] [repeat] CONTENTS | fill W H 0xAARRGGBB | same as OTHER
bool byteExpectation(LineParser& p, Command* c) {
  if (p.word("same")) {
    c->op = Command::Op::ExpectSameBytes;
    return (p.word("as") || p.fail("expected 'same as NAME'")) && p.boundName(&c->text);
  }
  if (p.word("fill")) {
    uint64_t colour = 0;
    if (!p.size(&c->value.width, &c->value.height)) return false;
    p.punct(',');
    if (!p.unsignedNumber(0xFFFFFFFFull, &colour, "a colour 0xAARRGGBB")) return false;
    if (uint64_t{c->value.width} * c->value.height * 4 > kMaxByteArray) return p.fail("a ByteArray holds at most 268435456 bytes");
    c->value.content = Literal::Content::Fill;
    c->value.colour = static_cast<uint32_t>(colour);
    c->hasSize = true;
    return true;
  }
  if (p.word("at") && !(p.unsignedNumber(0xFFFFFFFFull, &c->number, "an offset") && (c->flag = true))) return false;
  c->repeat = p.word("repeat");
  if (!p.byteContents(&c->value)) return false;
  if (c->repeat && c->value.content == Literal::Content::Given && c->value.data.empty())
    return p.fail("a repeated run needs at least one byte");
  return true;
}

}  // namespace

bool parseExpect(LineParser& p, const std::vector<Token>& tokens, const std::string& line, Command* c) {
  bool ok = true;
  if (p.word("result")) {
    c->op = Command::Op::ExpectResult;
    ok = p.literal(&c->value, false) && p.end();
  } else if (p.word("events")) {
    ok = eventSet(p, c);
  } else if (p.word("breaches")) {
    c->op = Command::Op::ExpectBreaches;
    ok = p.unsignedNumber(0xFFFFFFFFull, &c->number, "a count of breaches") && p.end();
  } else if (p.word("late")) {
    c->op = Command::Op::ExpectLateEvents;
    ok = (p.word("events") || p.fail("expected 'expect late events N'")) &&
         p.unsignedNumber(0xFFFFFFFFull, &c->number, "a count of events") && p.end();
  } else if (p.word("event")) {
    c->op = Command::Op::ExpectEvent;
    ok = p.text(&c->name, "an event code");
    if (ok && !p.atEnd()) ok = p.text(&c->text, "an event level") && (c->hasText = true);
    ok = ok && p.end();
  } else if (p.word("console")) {
    c->op = Command::Op::ExpectConsole;
    if (tokens.size() == 4 && p.word("contains")) c->flag = true;
    else if (tokens.size() == 4 && p.word("matching")) c->pattern = true;
    else if (tokens.size() == 4 && p.word("exactly")) c->op = Command::Op::ExpectConsoleExactly;
    ok = p.text(&c->text, "a console line") && p.end();
  } else if (p.word("sdk")) {
    c->op = p.word("later") ? Command::Op::ExpectSdkLater : Command::Op::ExpectSdk;
    ok = callPattern(p, line, c->op == Command::Op::ExpectSdkLater ? 3 : 2, "an SDK operation", c);
  } else if (p.word("win32")) {
    c->op = Command::Op::ExpectWin32;
    ok = callPattern(p, line, 2, "a Win32 call", c);
  } else if (p.word("size")) {
    c->op = Command::Op::ExpectSize;
    ok = p.boundName(&c->name);
    if (ok) {
      const auto* t = p.peek();
      if (t && t->kind == Token::Kind::Number && t->text.find('x') != std::string::npos &&
          t->text.compare(0, 2, "0x") != 0) {
        ok = p.size(&c->width, &c->height);
        c->hasSize = true;
      } else if (tokens.size() == 5) {
        ok = p.size(&c->width, &c->height);
        c->hasSize = true;
      } else {
        ok = p.unsignedNumber(0xFFFFFFFFull, &c->number, "a length");
      }
    }
    ok = ok && p.end();
  } else if (p.word("bytes")) {
    c->op = Command::Op::ExpectBytes;
    ok = p.boundName(&c->name) && byteExpectation(p, c) && p.end();
  } else if (p.word("pixel")) {
    c->op = Command::Op::ExpectPixel;
    ok = p.boundName(&c->name);
    if (ok && !p.word("at")) {
      ok = p.size(&c->width, &c->height) && (p.word("at") || p.fail("expected 'at X Y' after the size"));
      c->hasSize = true;
    }
    uint64_t x = 0, y = 0, colour = 0;
    ok = ok && p.unsignedNumber(65535, &x, "a column") && (p.punct(','), true) &&
         p.unsignedNumber(65535, &y, "a row") && p.unsignedNumber(0xFFFFFFFFull, &colour, "a colour 0xAARRGGBB") &&
         p.tolerance(&c->tolerance) && p.end();
    c->x = static_cast<uint32_t>(x);
    c->y = static_cast<uint32_t>(y);
    c->colour = static_cast<uint32_t>(colour);
  } else if (p.word("picture")) {
    c->op = Command::Op::ExpectPicture;
    ok = p.boundName(&c->name);
    const auto* t = p.peek();
    if (ok && t && t->kind == Token::Kind::Number) {
      ok = p.size(&c->width, &c->height);
      c->hasSize = true;
    }
    ok = ok && p.text(&c->text, "a PNG file") && p.tolerance(&c->tolerance) && p.end();
  } else if (p.word("no")) {
    if (p.word("sdk") && !p.atEnd()) {
      c->op = Command::Op::ExpectNoSdkCall;
      return callPattern(p, line, 3, "an SDK operation", c);
    }
    if (tokens.size() == 3 && tokens[2].text == "sdk") c->op = Command::Op::ExpectNoSdk;
    else if (p.word("event")) c->op = Command::Op::ExpectNoEvent;
    else if (p.word("win32")) c->op = Command::Op::ExpectNoWin32;
    else if (p.word("console")) c->op = Command::Op::ExpectNoConsole;
    else if (p.word("breach")) c->op = Command::Op::ExpectNoBreach;
    else ok = p.fail("expected 'expect no event', 'expect no console', 'expect no sdk [CALL]', 'expect no win32' or 'expect no breach'");
    ok = ok && p.end();
  } else {
    ok = p.fail("expected 'expect result|event|events|console|sdk|win32|size|bytes|pixel|picture|breaches|late events|no ...'");
  }
  return ok;
}

}  // namespace anehost
