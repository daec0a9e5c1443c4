#include "standin_common/call_text.h"

#include <cstdio>

namespace standin_common {

static const char kHexDigits[] = "0123456789abcdef";

std::string quote(const char* text, size_t length) {
  std::string out = "\"";
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c >= 0x20 && c != 0x7f) {
          out += static_cast<char>(c);
          break;
        }
        out += "\\x";
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 0xf];
    }
  }
  return out + "\"";
}

std::string quote(const char* text) {
  return text ? quote(text, std::char_traits<char>::length(text)) : std::string("null");
}

std::string boolText(bool value) { return value ? "true" : "false"; }

std::string bytesText(const void* data, uint64_t length) {
  return data ? "<" + std::to_string(length) + " bytes>" : std::string("null");
}

std::string pointerText(const void* pointer, const char* name) { return pointer ? name : "null"; }

}  // namespace standin_common
