// The text forms of arguments in the SDK stand-ins' call logs, the same in
// both: tests and scripts compare log lines byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace standin_common {

// The text in double quotes with C escapes: \" \\ \n \r \t, and \xHH for the
// other control bytes and DEL. Bytes from 0x80 up are kept as they are.
std::string quote(const char* text, size_t length);
inline std::string quote(const std::string& text) { return quote(text.data(), text.size()); }
// A zero-terminated text quoted, or null.
std::string quote(const char* text);

// "true" or "false".
std::string boolText(bool value);
// "<N bytes>", or null without data.
std::string bytesText(const void* data, uint64_t length);
// The parameter's name for a pointer that is set (a handler, a callback
// object), or null.
std::string pointerText(const void* pointer, const char* name);

}  // namespace standin_common
