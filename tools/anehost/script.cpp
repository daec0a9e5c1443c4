#include "script.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>
#include <sstream>

#include "text.h"

namespace anehost {
namespace {

// ActionScript's own limits for a BitmapData, and a sane one for a ByteArray.
constexpr uint32_t kMaxBitmapSide = 8191;
constexpr uint64_t kMaxBitmapPixels = 16777215;
constexpr uint64_t kMaxByteArray = 256u << 20;

struct Token {
  enum class Kind { Word, Text, Number, Punct };
  Kind kind;
  std::string text;  // Text: decoded bytes; others: as written
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

bool isIdentifier(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

// The script's tokens: words, quoted texts, numbers and the marks ( ) , =;
// '#' outside a quoted text starts a comment.
standin_common::Tokens scan(const std::string& line) {
  return standin_common::tokenize(line,
                                 standin_common::Grammar().withMarks("(),=").withNumbers().withComment('#', true));
}

bool decode(const standin_common::Tokens& pieces, std::vector<Token>* tokens, std::string* error) {
  using Kind = standin_common::Token::Kind;
  for (const standin_common::Token& t : pieces.tokens) {
    if (t.kind != Kind::Quoted) {
      const auto kind = t.kind == Kind::Mark ? Token::Kind::Punct
                        : t.kind == Kind::Number ? Token::Kind::Number
                                                 : Token::Kind::Word;
      tokens->push_back({kind, t.text});
      continue;
    }
    std::string bytes;
    if (!unescape(t.text, &bytes, error)) return false;
    tokens->push_back({Token::Kind::Text, bytes});
  }
  return true;
}

bool parseUnsigned(const std::string& digits, uint64_t limit, uint64_t* value) {
  if (digits.empty()) return false;
  const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
  const std::string body = hex ? digits.substr(2) : digits;
  if (body.empty()) return false;
  uint64_t v = 0;
  for (char c : body) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    v = v * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    if (v > limit) return false;
  }
  *value = v;
  return true;
}

// A number as ActionScript reads it: 12 int, 12u uint, 1.5 Number; an
// integer outside the int range is a Number, as in ActionScript.
bool parseNumber(const std::string& raw, Literal* out, std::string* error) {
  if (raw.size() > 1 && (raw.back() == 'u' || raw.back() == 'U') &&
      raw.compare(0, 2, "0x") != 0 && raw.compare(0, 2, "0X") != 0) {
    uint64_t v = 0;
    if (!parseUnsigned(raw.substr(0, raw.size() - 1), 0xFFFFFFFFull, &v)) {
      *error = "'" + raw + "' is not a uint (0 to 4294967295 followed by u)";
      return false;
    }
    out->kind = Literal::Kind::Uint;
    out->uint32 = static_cast<uint32_t>(v);
    return true;
  }
  const bool negative = raw[0] == '-';
  const std::string unsignedPart = (raw[0] == '-' || raw[0] == '+') ? raw.substr(1) : raw;
  uint64_t v = 0;
  if (parseUnsigned(unsignedPart, UINT64_MAX / 16, &v)) {
    const int64_t signedValue = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
    if (signedValue >= INT32_MIN && signedValue <= INT32_MAX) {
      out->kind = Literal::Kind::Int;
      out->int32 = static_cast<int32_t>(signedValue);
    } else {
      out->kind = Literal::Kind::Number;
      out->number = static_cast<double>(signedValue);
    }
    return true;
  }
  errno = 0;
  char* end = nullptr;
  const double d = std::strtod(raw.c_str(), &end);
  if (end != raw.c_str() + raw.size() || errno == ERANGE || !std::isfinite(d) ||
      raw.find_first_of("xX") != std::string::npos) {
    *error = "'" + raw + "' is not a number";
    return false;
  }
  out->kind = Literal::Kind::Number;
  out->number = d;
  return true;
}

class LineParser {
 public:
  LineParser(std::vector<Token> tokens, std::set<std::string>* bound) : t_(std::move(tokens)), bound_(bound) {}

  bool atEnd() const { return i_ >= t_.size(); }
  const Token* peek() const { return atEnd() ? nullptr : &t_[i_]; }

  bool word(const char* w) {
    if (!atEnd() && t_[i_].kind == Token::Kind::Word && t_[i_].text == w) {
      ++i_;
      return true;
    }
    return false;
  }

  bool punct(char p) {
    if (!atEnd() && t_[i_].kind == Token::Kind::Punct && t_[i_].text[0] == p) {
      ++i_;
      return true;
    }
    return false;
  }

  // A text operand: a quoted text, or a bare word or number as written.
  bool text(std::string* out, const char* what) {
    if (atEnd() || t_[i_].kind == Token::Kind::Punct) return fail(std::string("expected ") + what);
    *out = t_[i_++].text;
    return true;
  }

  bool identifier(std::string* out, const char* what) {
    if (atEnd() || t_[i_].kind != Token::Kind::Word || !isIdentifier(t_[i_].text))
      return fail(std::string("expected ") + what + " (letters, digits and _)");
    *out = t_[i_++].text;
    return true;
  }

  bool unsignedNumber(uint64_t limit, uint64_t* out, const char* what) {
    if (atEnd() || t_[i_].kind != Token::Kind::Number) return fail(std::string("expected ") + what);
    std::string raw = t_[i_].text;
    if (raw.size() > 1 && (raw.back() == 'u' || raw.back() == 'U') && raw.compare(0, 2, "0x") != 0) raw.pop_back();
    if (!parseUnsigned(raw, limit, out))
      return fail(std::string(what) + " must be a whole number from 0 to " + std::to_string(limit));
    ++i_;
    return true;
  }

  // WxH as one word ("640x360") or two numbers.
  bool size(uint32_t* w, uint32_t* h) {
    if (!atEnd() && t_[i_].kind == Token::Kind::Number) {
      const std::string& raw = t_[i_].text;
      const auto x = raw.find('x');
      if (x != std::string::npos && x > 0 && raw.compare(0, 2, "0x") != 0) {
        uint64_t a = 0, b = 0;
        if (!parseUnsigned(raw.substr(0, x), kMaxBitmapSide * 16u, &a) ||
            !parseUnsigned(raw.substr(x + 1), kMaxBitmapSide * 16u, &b))
          return fail("'" + raw + "' is not a size WxH");
        ++i_;
        *w = static_cast<uint32_t>(a);
        *h = static_cast<uint32_t>(b);
        return true;
      }
    }
    uint64_t a = 0, b = 0;
    if (!unsignedNumber(65535, &a, "a width")) return false;
    punct(',');
    if (!unsignedNumber(65535, &b, "a height")) return false;
    *w = static_cast<uint32_t>(a);
    *h = static_cast<uint32_t>(b);
    return true;
  }

  bool literal(Literal* out, bool objects) {
    if (atEnd()) return fail("expected a value");
    const Token& t = t_[i_];
    switch (t.kind) {
      case Token::Kind::Text:
        out->kind = Literal::Kind::Text;
        out->text = t.text;
        ++i_;
        return true;
      case Token::Kind::Number:
        ++i_;
        return parseNumber(t.text, out, &error_) || fail(error_);
      case Token::Kind::Punct:
        return fail("expected a value, found '" + t.text + "'");
      case Token::Kind::Word:
        break;
    }
    ++i_;
    if (t.text == "true" || t.text == "false") {
      out->kind = Literal::Kind::Bool;
      out->boolean = t.text == "true";
      return true;
    }
    if (t.text == "null") {
      out->kind = Literal::Kind::Null;
      return true;
    }
    if (t.text == "bytes" && punct('(')) {
      if (!objects) return fail("bytes(N) makes an object; it cannot be expected");
      uint64_t n = 0;
      if (!unsignedNumber(kMaxByteArray, &n, "a ByteArray length")) return false;
      if (!punct(')')) return fail("expected ')' after bytes(N");
      out->kind = Literal::Kind::Bytes;
      out->width = static_cast<uint32_t>(n);
      return true;
    }
    if (t.text == "bitmap" && punct('(')) {
      if (!objects) return fail("bitmap(W, H) makes an object; it cannot be expected");
      uint32_t w = 0, h = 0;
      if (!size(&w, &h)) return false;
      if (!punct(')')) return fail("expected ')' after bitmap(W, H");
      if (w == 0 || h == 0 || w > kMaxBitmapSide || h > kMaxBitmapSide ||
          static_cast<uint64_t>(w) * h > kMaxBitmapPixels)
        return fail("a BitmapData is 1 to 8191 pixels a side and at most 16777215 pixels");
      out->kind = Literal::Kind::Bitmap;
      out->width = w;
      out->height = h;
      return true;
    }
    if (!isIdentifier(t.text)) return fail("'" + t.text + "' is not a value");
    if (!bound_->count(t.text)) return fail("'" + t.text + "' is not bound by an earlier let");
    out->kind = Literal::Kind::Name;
    out->text = t.text;
    return true;
  }

  bool boundName(std::string* out) {
    if (!identifier(out, "a name bound by let")) return false;
    if (!bound_->count(*out)) return fail("'" + *out + "' is not bound by an earlier let");
    return true;
  }

  bool end() {
    if (!atEnd()) return fail("unexpected '" + t_[i_].text + "'");
    return true;
  }

  bool fail(const std::string& message) {
    if (message_.empty()) message_ = message;
    return false;
  }
  const std::string& message() const { return message_; }

 private:
  std::vector<Token> t_;
  size_t i_ = 0;
  std::set<std::string>* bound_;
  std::string message_;
  std::string error_;
};

// The text after the first word of a line and, when given, a second one.
std::string restAfter(const std::string& line, int words) {
  size_t i = 0;
  for (int w = 0; w < words; ++w) {
    while (i < line.size() && isSpace(line[i])) ++i;
    while (i < line.size() && !isSpace(line[i])) ++i;
  }
  return trim(line.substr(i));
}

// The longest `wait`: ten minutes.
constexpr uint64_t kMaxWaitMs = 600000;

}  // namespace

bool parseScript(const std::string& text, Script* out, std::string* error) {
  Script script;
  std::set<std::string> bound;
  bool haveExtension = false;
  // A byte order mark that some editors write is not part of the first line.
  std::istringstream in(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text);
  std::string raw;
  int lineNumber = 0;
  const auto failAt = [&](const std::string& message) {
    *error = "line " + std::to_string(lineNumber) + ": " + message;
    return false;
  };
  while (std::getline(in, raw)) {
    ++lineNumber;
    std::string message;
    const standin_common::Tokens pieces = scan(raw);
    if (pieces.unclosed()) return failAt("a text is not closed (missing '\"')");
    const std::string line = trim(raw.substr(0, pieces.contentEnd));
    if (line.empty()) continue;

    Command c;
    c.line = lineNumber;
    c.source = line;
    std::vector<Token> tokens;
    if (!decode(pieces, &tokens, &message)) return failAt(message);
    LineParser p(tokens, &bound);
    const std::string keyword = tokens[0].kind == Token::Kind::Word ? tokens[0].text : "";
    p.word(keyword.c_str());
    bool ok = true;

    if (keyword == "extension") {
      if (haveExtension) return failAt("a script loads one extension");
      c.op = Command::Op::Extension;
      ok = p.text(&c.name, "an extension id or a descriptor file");
      if (ok && !p.atEnd()) ok = p.text(&c.text, "a context type") && (c.hasText = true);
      ok = ok && p.end();
      haveExtension = true;
    } else if (keyword == "print") {
      c.op = Command::Op::Print;
      const auto* t = p.peek();
      if (t && t->kind == Token::Kind::Text && tokens.size() == 2) c.text = t->text;
      else c.text = restAfter(line, 1);
    } else if (keyword == "ignore") {
      c.op = Command::Op::Ignore;
      if (p.word("nothing")) {
        c.name = "nothing";
      } else if (p.word("event")) {
        c.name = "event";
        ok = p.text(&c.text, "an event code");
      } else if (p.word("console")) {
        c.name = "console";
        ok = p.text(&c.text, "the start of console lines to ignore");
      } else {
        ok = p.fail("expected 'ignore event CODE', 'ignore console PREFIX' or 'ignore nothing'");
      }
      ok = ok && p.end();
    } else if (!haveExtension) {
      return failAt("the script must name its extension first ('extension ID')");
    } else if (keyword == "context") {
      c.op = Command::Op::NewContext;
      if (!p.atEnd()) ok = p.text(&c.text, "a context type") && (c.hasText = true);
      ok = ok && p.end();
    } else if (keyword == "finalize") {
      c.op = Command::Op::Finalize;
      ok = p.end();
    } else if (keyword == "call" || keyword == "let") {
      if (keyword == "let") {
        ok = p.identifier(&c.bind, "a name") && (p.punct('=') || p.fail("expected '=' after let NAME"));
        if (ok && !p.word("call")) {
          c.op = Command::Op::Let;
          ok = p.literal(&c.value, true) && p.end();
          if (ok) bound.insert(c.bind);
          if (!ok) return failAt(p.message());
          script.commands.push_back(std::move(c));
          continue;
        }
      }
      c.op = Command::Op::Call;
      ok = ok && p.text(&c.name, "a function name");
      while (ok && !p.atEnd()) {
        Literal a;
        ok = p.literal(&a, true);
        if (ok) c.args.push_back(std::move(a));
        if (ok && !p.atEnd()) p.punct(',');
      }
      if (ok && !c.bind.empty()) bound.insert(c.bind);
    } else if (keyword == "expect") {
      if (p.word("result")) {
        c.op = Command::Op::ExpectResult;
        ok = p.literal(&c.value, false) && p.end();
      } else if (p.word("event")) {
        c.op = Command::Op::ExpectEvent;
        ok = p.text(&c.name, "an event code");
        if (ok && !p.atEnd()) ok = p.text(&c.text, "an event level") && (c.hasText = true);
        ok = ok && p.end();
      } else if (p.word("console")) {
        c.op = Command::Op::ExpectConsole;
        if (tokens.size() == 4 && p.word("contains")) c.flag = true;
        ok = p.text(&c.text, "a console line") && p.end();
      } else if (p.word("sdk")) {
        c.op = Command::Op::ExpectSdk;
        c.text = restAfter(line, 2);
        if (c.text.empty()) ok = p.fail("expected an SDK operation");
      } else if (p.word("size")) {
        c.op = Command::Op::ExpectSize;
        ok = p.boundName(&c.name);
        if (ok) {
          const auto* t = p.peek();
          if (t && t->kind == Token::Kind::Number && t->text.find('x') != std::string::npos &&
              t->text.compare(0, 2, "0x") != 0) {
            ok = p.size(&c.width, &c.height);
            c.hasSize = true;
          } else if (tokens.size() == 5) {
            ok = p.size(&c.width, &c.height);
            c.hasSize = true;
          } else {
            ok = p.unsignedNumber(0xFFFFFFFFull, &c.number, "a length");
          }
        }
        ok = ok && p.end();
      } else if (p.word("no")) {
        if (p.word("event")) c.op = Command::Op::ExpectNoEvent;
        else if (p.word("sdk")) c.op = Command::Op::ExpectNoSdk;
        else if (p.word("breach")) c.op = Command::Op::ExpectNoBreach;
        else ok = p.fail("expected 'expect no event', 'expect no sdk' or 'expect no breach'");
        ok = ok && p.end();
      } else {
        ok = p.fail("expected 'expect result|event|console|sdk|size|no ...'");
      }
    } else if (keyword == "wait") {
      if (p.word("event")) {
        c.op = Command::Op::WaitEvent;
        ok = p.text(&c.name, "an event code");
        if (ok && !p.atEnd()) ok = p.text(&c.text, "an event level") && (c.hasText = true);
        ok = ok && p.end();
      } else {
        c.op = Command::Op::Wait;
        ok = p.unsignedNumber(kMaxWaitMs, &c.number, "milliseconds") && p.end();
      }
    } else if (keyword == "sdk") {
      c.op = Command::Op::Sdk;
      c.text = restAfter(line, 1);
      if (c.text.empty()) ok = p.fail("expected an SDK command after 'sdk'");
    } else if (keyword == "save") {
      c.op = Command::Op::Save;
      ok = p.boundName(&c.name);
      if (ok && tokens.size() >= 5) {
        ok = p.size(&c.width, &c.height);
        c.hasSize = true;
      } else if (ok && tokens.size() == 4) {
        ok = p.size(&c.width, &c.height);  // save NAME WxH FILE
        c.hasSize = true;
      }
      ok = ok && p.text(&c.text, "a file name") && p.end();
      if (ok && c.hasSize && (c.width == 0 || c.height == 0)) ok = p.fail("a picture needs a width and a height above 0");
    } else {
      return failAt("unknown command '" + (keyword.empty() ? tokens[0].text : keyword) +
                    "' (extension, call, let, expect, wait, sdk, save, ignore, print, context, finalize)");
    }
    if (!ok) return failAt(p.message());
    script.commands.push_back(std::move(c));
  }
  if (!haveExtension) {
    lineNumber = lineNumber ? lineNumber : 1;
    return failAt("the script names no extension ('extension ID')");
  }
  *out = std::move(script);
  return true;
}

std::string literalText(const Literal& l) {
  switch (l.kind) {
    case Literal::Kind::Null: return "null";
    case Literal::Kind::Bool: return l.boolean ? "true" : "false";
    case Literal::Kind::Int: return std::to_string(l.int32);
    case Literal::Kind::Uint: return std::to_string(l.uint32) + "u";
    case Literal::Kind::Number: {
      std::ostringstream s;
      s.precision(17);
      s << l.number;
      std::string t = s.str();
      if (t.find_first_of(".eEn") == std::string::npos) t += ".0";
      return t;
    }
    case Literal::Kind::Text: return quote(l.text);
    case Literal::Kind::Bytes: return "bytes(" + std::to_string(l.width) + ")";
    case Literal::Kind::Bitmap: return "bitmap(" + std::to_string(l.width) + ", " + std::to_string(l.height) + ")";
    case Literal::Kind::Name: return l.text;
  }
  return "?";
}

}  // namespace anehost
