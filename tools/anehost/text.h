// Texts as anehost shows them and reads them: quoted, with C escapes, so that
// "||", line breaks, control bytes, non-ASCII characters and invalid UTF-8
// can always be told apart on the page.
#pragma once

#include <cstdint>
#include <string>

#include "standin_common/tokens.h"

namespace anehost {

// The bytes as a double-quoted text. Backslash, quote and control characters
// are escaped (\n \r \t \0 \\ \" and \xNN), bytes that are not valid UTF-8 are
// \xNN (always two hex digits), and valid non-ASCII characters are \uXXXX or
// \UXXXXXXXX, unless rawUtf8 asks to show them as they are.
std::string quote(const std::string& bytes, bool rawUtf8 = false);

// Bytes whose encoding is not known (console output, the texts an SDK was
// given) as a double-quoted text: as quote(), but every byte that is not
// ASCII is \xNN, so code page 936 text never passes for UTF-8. With rawUtf8,
// valid UTF-8 characters are shown as they are.
std::string quoteBytes(const std::string& bytes, bool rawUtf8 = false);

// Reads the body of a quoted text (between the quotes), turning the escapes
// that quote() writes back into bytes; \xNN takes exactly two hex digits.
// False with a message for an unknown or short escape.
bool unescape(const std::string& body, std::string* bytes, std::string* error);

// The text without blanks, tabs and line-end characters at either end.
std::string trim(const std::string& text);

using standin_common::appendUtf8;

}  // namespace anehost
