// The reading of one script line: its tokens (the shared tokenizer's, with
// their texts decoded), numbers as ActionScript reads them, and LineParser,
// which takes the operands of a command from the tokens one by one.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "script.h"

namespace anehost {

// ActionScript's own limits for a BitmapData, and a sane one for a ByteArray.
constexpr uint32_t kMaxBitmapSide = 8191;
constexpr uint64_t kMaxBitmapPixels = 16777215;
constexpr uint32_t kMaxBitmapStride = 16383;  // words a row, padding included
constexpr uint64_t kMaxByteArray = 256u << 20;

struct Token {
  enum class Kind { Word, Text, Number, Punct };
  Kind kind;
  std::string text;  // Text: decoded bytes; others: as written
};

bool isIdentifier(const std::string& s);
// The tokens of a line up to its comment ('#' outside a quoted text), the
// quoted texts decoded. False with a message for a text not closed or a bad
// escape; *content is the line without its comment.
bool lineTokens(const std::string& line, std::vector<Token>* tokens, std::string* content, std::string* error);
// Decimal or 0x hexadecimal digits, at most limit.
bool parseUnsigned(const std::string& digits, uint64_t limit, uint64_t* value);
// A number as ActionScript reads it: 12 int, 12u uint, 1.5 Number; an
// integer outside the int range is a Number, as in ActionScript.
bool parseNumber(const std::string& raw, Literal* out, std::string* error);

// The text after the first `words` words of a line, blanks trimmed.
std::string restAfter(const std::string& line, int words);

// An `sdk` line's command for the simulated SDK: its quoted texts read with
// the script's escapes, as every text of the script is, and written again in
// a form the stand-ins' own readers give back byte for byte.
bool sdkCommandText(const std::string& command, std::string* out, std::string* error);


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
      if (!objects) return fail("bytes(...) makes an object; it cannot be expected");
      out->kind = Literal::Kind::Bytes;
      return byteArray(out) && (punct(')') || fail("expected ')' after bytes(..."));
    }
    if (t.text == "bitmap" && punct('(')) {
      if (!objects) return fail("bitmap(...) makes an object; it cannot be expected");
      out->kind = Literal::Kind::Bitmap;
      return bitmapData(out) && (punct(')') || fail("expected ')' after bitmap(..."));
    }
    if (!isIdentifier(t.text)) return fail("'" + t.text + "' is not a value");
    if (!bound_->count(t.text)) return fail("'" + t.text + "' is not bound by an earlier let");
    out->kind = Literal::Kind::Name;
    out->text = t.text;
    return true;
  }

  // Contents given as bytes: "text" (its bytes), hex "0a ff", file "name".
  bool byteContents(Literal* out);
  // bytes(N) | bytes(CONTENTS) | bytes(png "f.png") | bytes(W, H, 0xAARRGGBB)
  bool byteArray(Literal* out);
  // bitmap(W, H [, TRANSPARENT [, 0xAARRGGBB]] [, stride N]) | bitmap(W, H, hex "..." [, stride N])
  // | bitmap(png "f.png")
  bool bitmapData(Literal* out);
  // hex "..." after bitmap(W, H,: exactly W x H pixels, blue, green, red, alpha.
  bool bitmapPixels(Literal* out);
  // stride N: words a row, from W on.
  bool rowStride(Literal* out);
  // "within N": how far each channel of a colour may be off (default 0).
  bool tolerance(uint32_t* out);

  // A size given as `W H` or `WxH`: the size, marked as given.
  bool size(WrittenSize* out) {
    out->given = true;
    return size(&out->width, &out->height);
  }

  // CODE [LEVEL]: the level is whatever follows the code.
  bool event(EventPattern* out);

  bool boundName(std::string* out) {
    if (!identifier(out, "a name bound by let")) return false;
    if (!bound_->count(*out)) return fail("'" + *out + "' is not bound by an earlier let");
    return true;
  }

  // From here on the name is bound, for the lines that follow.
  void bind(const std::string& name) { bound_->insert(name); }

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

// A line being read as a command: its operands past the command word, the
// tokens and the line as written (its comment left out), and whether an
// earlier line named the extension.
struct LineReading {
  LineParser& p;
  const std::vector<Token>& tokens;
  const std::string& line;
  bool haveExtension;
};

// Reads the command of a line into *out; false with the message in p.
using CommandReader = bool (*)(LineReading& r, Command::Action* out);

// `expect ...`: the operands after the keyword (script_expect.cpp).
bool parseExpect(LineReading& r, Command::Action* out);

}  // namespace anehost
