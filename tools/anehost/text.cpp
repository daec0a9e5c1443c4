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

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
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

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
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

std::string quote(const std::string& s, bool rawUtf8) {
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
    if (length == 0) {
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

bool unescape(const std::string& body, std::string* bytes, std::string* error) {
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c != '\\') {
      out.push_back(c);
      continue;
    }
    if (++i >= body.size()) {
      *error = "a text ends with a lone backslash";
      return false;
    }
    const char e = body[i];
    uint32_t value = 0;
    switch (e) {
      case 'n': out.push_back('\n'); break;
      case 'r': out.push_back('\r'); break;
      case 't': out.push_back('\t'); break;
      case '0': out.push_back('\0'); break;
      case '\\': out.push_back('\\'); break;
      case '"': out.push_back('"'); break;
      case '\'': out.push_back('\''); break;
      case 'x':
        if (!readHex(body, i + 1, 2, &value)) {
          *error = "\\x needs two hex digits";
          return false;
        }
        out.push_back(static_cast<char>(value));
        i += 2;
        break;
      case 'u':
      case 'U': {
        const size_t digits = e == 'u' ? 4 : 8;
        if (!readHex(body, i + 1, digits, &value)) {
          *error = std::string("\\") + e + " needs " + std::to_string(digits) + " hex digits";
          return false;
        }
        if (!appendUtf8(value, &out)) {
          *error = "\\" + std::string(1, e) + " names no character (surrogate or above U+10FFFF)";
          return false;
        }
        i += digits;
        break;
      }
      default:
        *error = std::string("unknown escape \\") + e;
        return false;
    }
  }
  *bytes = std::move(out);
  return true;
}

}  // namespace anehost
