#include "standin_common/call_text.h"

#include <cstdio>

namespace standin_common {

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
        if (c < 0x20 || c == 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
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
