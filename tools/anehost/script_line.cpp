#include "script_line.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "contents.h"
#include "standin_common/tokens.h"
#include "text.h"

namespace anehost {
namespace {

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

}  // namespace

std::string restAfter(const std::string& line, int words) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  size_t i = 0;
  for (int w = 0; w < words; ++w) {
    while (i < line.size() && blank(line[i])) ++i;
    while (i < line.size() && !blank(line[i])) ++i;
  }
  return trim(line.substr(i));
}

// Bytes in the form the stand-ins' command readers take back byte for byte:
// printable ASCII as it is; the quote, the backslash and every other byte \xNN.
std::string plainEscapes(const std::string& bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      out.push_back(ch);
    } else {
      out += "\\x";
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
    }
  }
  return out;
}

bool sdkCommandText(const std::string& command, std::string* out, std::string* error) {
  std::string result;
  size_t at = 0;
  for (const standin_common::Token& t : scan(command).tokens) {
    if (t.kind != standin_common::Token::Kind::Quoted) continue;
    std::string bytes;
    if (!unescape(t.text, &bytes, error)) return false;
    result += command.substr(at, t.begin - at) + '"' + plainEscapes(bytes) + '"';
    at = t.end;
  }
  *out = result + command.substr(at);
  return true;
}

bool lineTokens(const std::string& line, std::vector<Token>* tokens, std::string* content, std::string* error) {
  const standin_common::Tokens pieces = scan(line);
  if (pieces.unclosed()) {
    *error = "a text is not closed (missing '\"')";
    return false;
  }
  *content = line.substr(0, pieces.contentEnd);
  return decode(pieces, tokens, error);
}

bool LineParser::byteContents(Literal* out) {
  const Token* t = peek();
  if (t && t->kind == Token::Kind::Text) {
    out->content = Literal::Content::Given;
    out->data = t_[i_++].text;
    return true;
  }
  if (word("hex")) {
    std::string text, error;
    if (!this->text(&text, "a text of hex bytes after hex")) return false;
    if (!hexBytes(text, &out->data, &error)) return fail(error);
    out->content = Literal::Content::Given;
    return true;
  }
  if (word("file")) {
    out->content = Literal::Content::File;
    return this->text(&out->data, "a file name after file");
  }
  return fail("expected bytes: \"text\", hex \"0a ff\" or file \"name\"");
}

bool LineParser::byteArray(Literal* out) {
  const Token* t = peek();
  if (word("png")) {
    out->content = Literal::Content::Png;
    return text(&out->data, "a PNG file name after png");
  }
  if (t && t->kind != Token::Kind::Number) return byteContents(out);
  // bytes(N), else a fill: bytes(W, H, COLOUR)
  const size_t start = i_;
  uint64_t n = 0;
  if (unsignedNumber(kMaxByteArray, &n, "a ByteArray length") && !atEnd() && t_[i_].kind == Token::Kind::Punct &&
      t_[i_].text == ")") {
    out->width = static_cast<uint32_t>(n);
    return true;
  }
  i_ = start;
  message_.clear();
  uint32_t w = 0, h = 0;
  uint64_t colour = 0;
  if (!size(&w, &h)) return fail("expected bytes(N), bytes(W, H, 0xAARRGGBB) or bytes of a text, hex, file or png");
  punct(',');
  if (!unsignedNumber(0xFFFFFFFFull, &colour, "a colour 0xAARRGGBB")) return false;
  if (uint64_t{w} * h * 4 > kMaxByteArray) return fail("a ByteArray holds at most 268435456 bytes");
  out->content = Literal::Content::Fill;
  out->width = w;
  out->height = h;
  out->colour = static_cast<uint32_t>(colour);
  return true;
}

bool LineParser::bitmapData(Literal* out) {
  if (word("png")) {
    out->content = Literal::Content::Png;
    return text(&out->data, "a PNG file name after png");
  }
  uint32_t w = 0, h = 0;
  if (!size(&w, &h)) return false;
  if (w == 0 || h == 0 || w > kMaxBitmapSide || h > kMaxBitmapSide || static_cast<uint64_t>(w) * h > kMaxBitmapPixels)
    return fail("a BitmapData is 1 to 8191 pixels a side and at most 16777215 pixels");
  out->width = w;
  out->height = h;
  if (!punct(',')) return true;
  if (word("stride")) return rowStride(out);
  if (word("hex")) return bitmapPixels(out) && (!punct(',') || ((word("stride") || fail("expected stride N")) && rowStride(out)));
  if (word("true")) out->transparent = true;
  else if (word("false")) out->transparent = false;
  else return fail("expected true or false (transparent), hex \"...\" or stride N after bitmap(W, H,");
  if (!punct(',')) return true;
  if (word("stride")) return rowStride(out);
  uint64_t colour = 0;
  if (!unsignedNumber(0xFFFFFFFFull, &colour, "a fill colour 0xAARRGGBB")) return false;
  out->content = Literal::Content::Fill;
  out->colour = static_cast<uint32_t>(colour);
  return !punct(',') || ((word("stride") || fail("expected stride N")) && rowStride(out));
}

bool LineParser::bitmapPixels(Literal* out) {
  std::string hex, error;
  if (!text(&hex, "hex pixels after hex")) return false;
  if (!hexBytes(hex, &out->data, &error)) return fail(error);
  const uint64_t need = uint64_t{out->width} * out->height * 4;
  if (out->data.size() != need)
    return fail(std::to_string(out->width) + "x" + std::to_string(out->height) + " pixels take " + std::to_string(need) +
                " bytes, the hex gives " + std::to_string(out->data.size()));
  out->content = Literal::Content::Given;
  return true;
}

bool LineParser::rowStride(Literal* out) {
  uint64_t n = 0;
  const std::string range = "a row stride of " + std::to_string(out->width) + " to " + std::to_string(kMaxBitmapStride) + " words";
  if (!unsignedNumber(0xFFFFFFFFull, &n, "a row stride in words")) return false;
  if (n < out->width || n > kMaxBitmapStride) return fail(range);
  out->stride32 = static_cast<uint32_t>(n);
  return true;
}

bool LineParser::event(EventPattern* out) {
  if (!text(&out->code, "an event code")) return false;
  if (atEnd()) return true;
  out->hasLevel = true;
  return text(&out->level, "an event level");
}

bool LineParser::tolerance(uint32_t* out) {
  *out = 0;
  if (!word("within")) return true;
  uint64_t n = 0;
  if (!unsignedNumber(255, &n, "a tolerance per channel")) return false;
  *out = static_cast<uint32_t>(n);
  return true;
}

bool isIdentifier(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
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

}  // namespace anehost
