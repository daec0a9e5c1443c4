#include "text.h"

#include <cstdio>

namespace anehost {
namespace {

// Length of the valid UTF-8 sequence at s[i] and its code point, or 0.
size_t utf8Sequence(const std::string& s, size_t i, uint32_t* codePoint) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  size_t length;
  uint32_t cp;
  if (b0 < 0x80) {
    *codePoint = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
    cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not valid UTF-8.
  if ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF)) {
    return 0;
  }
  *codePoint = cp;
  return length;
}

}  // namespace

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

namespace {

enum class NonAscii { Characters, Bytes };

std::string quoteAs(const std::string& s, bool rawUtf8, NonAscii nonAscii) {
  std::string out = "\"";
  char buffer[16];
  for (size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '\\': out += "\\\\"; ++i; continue;
      case '"': out += "\\\""; ++i; continue;
      case '\n': out += "\\n"; ++i; continue;
      case '\r': out += "\\r"; ++i; continue;
      case '\t': out += "\\t"; ++i; continue;
      case '\0': out += "\\0"; ++i; continue;
      default: break;
    }
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
      ++i;
      continue;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    uint32_t cp = 0;
    const size_t length = utf8Sequence(s, i, &cp);
    if (length == 0 || (nonAscii == NonAscii::Bytes && !(rawUtf8 && cp >= 0xA0))) {
      std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
      out += buffer;
      ++i;
      continue;
    }
    if (rawUtf8 && cp >= 0xA0) {
      out.append(s, i, length);
    } else if (cp < 0x10000) {
      std::snprintf(buffer, sizeof buffer, "\\u%04X", cp);
      out += buffer;
    } else {
      std::snprintf(buffer, sizeof buffer, "\\U%08X", cp);
      out += buffer;
    }
    i += length;
  }
  out += "\"";
  return out;
}

}  // namespace

std::string quote(const std::string& s, bool rawUtf8) { return quoteAs(s, rawUtf8, NonAscii::Characters); }

std::string quoteBytes(const std::string& s, bool rawUtf8) { return quoteAs(s, rawUtf8, NonAscii::Bytes); }

bool unescape(const std::string& body, std::string* bytes, std::string* error) {
  using standin_common::EscapeError;
  char e = 0;
  switch (standin_common::unescape(body, standin_common::Escapes::Strict, bytes, &e)) {
    case EscapeError::None: return true;
    case EscapeError::LoneBackslash: *error = "a text ends with a lone backslash"; break;
    case EscapeError::ShortHex:
      *error = e == 'x' ? "\\x needs two hex digits"
                        : std::string("\\") + e + " needs " + (e == 'u' ? "4" : "8") + " hex digits";
      break;
    case EscapeError::NoCharacter:
      *error = "\\" + std::string(1, e) + " names no character (surrogate or above U+10FFFF)";
      break;
    case EscapeError::Unknown: *error = std::string("unknown escape \\") + e; break;
  }
  return false;
}

}  // namespace anehost
