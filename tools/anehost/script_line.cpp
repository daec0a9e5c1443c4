#include "script_line.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

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

bool lineTokens(const std::string& line, std::vector<Token>* tokens, std::string* content, std::string* error) {
  const standin_common::Tokens pieces = scan(line);
  if (pieces.unclosed()) {
    *error = "a text is not closed (missing '\"')";
    return false;
  }
  *content = line.substr(0, pieces.contentEnd);
  return decode(pieces, tokens, error);
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
