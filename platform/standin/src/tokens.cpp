#include "standin_common/tokens.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace standin_common {
namespace {

bool oneOf(const char* set, char c) { return c != '\0' && std::strchr(set, c) != nullptr; }
bool digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Where the quoted text opening at line[open] ends: one past its closing
// quote, or the line's length when it has none (*closed false).
size_t quotedEnd(const std::string& line, size_t open, bool longHex, bool* closed) {
  size_t j = open + 1;
  while (j < line.size() && line[j] != '"') {
    if (line[j] != '\\') ++j;
    else j += longHex && j + 1 < line.size() && line[j + 1] == 'x' ? 4 : 2;
  }
  *closed = j < line.size();
  return *closed ? j + 1 : line.size();
}

// Where a number starting at line[i] ends.
size_t numberEnd(const std::string& line, size_t i) {
  const bool hex = line.compare(i, 2, "0x") == 0 || line.compare(i, 2, "0X") == 0;
  size_t j = i + 1;
  while (j < line.size()) {
    const char d = line[j], prev = line[j - 1];
    if (std::isalnum(static_cast<unsigned char>(d)) || d == '.' ||
        ((d == '-' || d == '+') && !hex && (prev == 'e' || prev == 'E')))
      ++j;
    else
      break;
  }
  return j;
}

bool readHex(const std::string& s, size_t at, size_t digits, uint32_t* value) {
  if (at + digits > s.size()) return false;
  uint32_t v = 0;
  for (size_t k = 0; k < digits; ++k) {
    const int h = hexValue(s[at + k]);
    if (h < 0) return false;
    v = (v << 4) | static_cast<uint32_t>(h);
  }
  *value = v;
  return true;
}

}  // namespace

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

Tokens tokenize(const std::string& line, const Grammar& g) {
  Tokens out;
  const size_t n = line.size();
  bool joined = false;
  size_t i = 0;
  while (i < n) {
    const char c = line[i];
    if (oneOf(g.blanks, c)) {
      joined = false;
      ++i;
      continue;
    }
    if (c == g.comment && c != '\0' && (!joined || g.commentInWords)) {
      out.contentEnd = i;
      return out;
    }
    Token t;
    t.begin = i;
    t.joined = joined;
    if (c == '"') {
      t.kind = Token::Kind::Quoted;
      t.end = quotedEnd(line, i, g.longHex, &t.closed);
      t.text = line.substr(i + 1, t.end - i - (t.closed ? 2 : 1));
    } else if (oneOf(g.marks, c)) {
      t.kind = Token::Kind::Mark;
      t.end = i + 1;
    } else if (g.numbers && (digit(c) || ((c == '-' || c == '+' || c == '.') && i + 1 < n && digit(line[i + 1])))) {
      t.kind = Token::Kind::Number;
      t.end = numberEnd(line, i);
    } else {
      size_t j = i;
      while (j < n && !oneOf(g.blanks, line[j]) && line[j] != '"' && !oneOf(g.marks, line[j]) &&
             !(g.commentInWords && line[j] == g.comment && g.comment != '\0'))
        ++j;
      t.end = j;
    }
    if (t.kind != Token::Kind::Quoted) t.text = line.substr(i, t.end - i);
    i = t.end;
    joined = true;
    out.tokens.push_back(std::move(t));
  }
  out.contentEnd = n;
  return out;
}

std::vector<std::pair<size_t, size_t>> Tokens::words() const {
  std::vector<std::pair<size_t, size_t>> groups;
  for (size_t k = 0; k < tokens.size(); ++k) {
    if (!tokens[k].joined || groups.empty()) groups.emplace_back(k, k + 1);
    else groups.back().second = k + 1;
  }
  return groups;
}

std::string spanText(const std::string& line, const Token& first, const Token& last) {
  return line.substr(first.begin, last.end - first.begin);
}

EscapeError unescape(const std::string& body, Escapes escapes, std::string* bytes, char* escape) {
  const bool strict = escapes == Escapes::Strict;
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i >= body.size()) return EscapeError::LoneBackslash;
    const char e = body[i];
    if (escape) *escape = e;
    uint32_t value = 0;
    switch (e) {
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case '0': out.push_back('\0'); break;
      case 'x':
        if (strict ? !readHex(body, i + 1, 2, &value) : i + 2 >= body.size()) return EscapeError::ShortHex;
        if (!strict) value = static_cast<uint32_t>(std::strtol(body.substr(i + 1, 2).c_str(), nullptr, 16));
        out.push_back(static_cast<char>(value));
        i += 2;
        break;
      case 'u':
      case 'U': {
        if (!strict) {
          out.push_back(e);
          break;
        }
        const size_t digits = e == 'u' ? 4 : 8;
        if (!readHex(body, i + 1, digits, &value)) return EscapeError::ShortHex;
        if (!appendUtf8(value, &out)) return EscapeError::NoCharacter;
        i += digits;
        break;
      }
      case '\\':
      case '"':
      case '\'':
        out.push_back(e);
        break;
      default:
        if (strict) return EscapeError::Unknown;
        out.push_back(e);
    }
  }
  *bytes = std::move(out);
  return EscapeError::None;
}

bool appendUtf8(uint32_t cp, std::string* out) {
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
  return true;
}

}  // namespace standin_common
