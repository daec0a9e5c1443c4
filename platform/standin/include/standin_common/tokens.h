// The one tokenizer of the command lines that the SDK stand-ins read and of
// the host tool's session scripts: a line cut into bare runs, quoted texts,
// marks and (for the scripts) numbers, and the escapes a quoted text holds.
// Each reader puts its own words together from these tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace standin_common {

// How a line is cut.
struct Grammar {
  const char* blanks = " \t\r";  // what stands between tokens
  const char* marks = "";        // characters that are tokens of their own ("=,", "(),=")
  // Numbers as ActionScript writes them (12, -1.5e3, 0xFF, 12u) are tokens of
  // their own: a digit, or a sign or dot before a digit, starts one.
  bool numbers = false;
  // A backslash in a quoted text takes the next byte with it; with longHex,
  // "\x" takes the two bytes after it as well, even a quote.
  bool longHex = false;
  // The comment sign (0: none). It starts a comment at the start of a token
  // that follows a blank or the start of the line, or, with commentInWords,
  // anywhere outside a quoted text.
  char comment = 0;
  bool commentInWords = false;

  // Set up in one expression: Grammar().withMarks("=,").withComment('#').
  Grammar& withBlanks(const char* set) { return blanks = set, *this; }
  Grammar& withMarks(const char* set) { return marks = set, *this; }
  Grammar& withNumbers() { return numbers = true, *this; }
  Grammar& withLongHex() { return longHex = true, *this; }
  Grammar& withComment(char sign, bool inWords = false) { return comment = sign, commentInWords = inWords, *this; }
};

struct Token {
  enum class Kind { Bare, Quoted, Mark, Number };
  Kind kind = Kind::Bare;
  std::string text;    // as written; Quoted: the body between the quotes, escapes not read
  size_t begin = 0;    // where it stands in the line: [begin, end)
  size_t end = 0;
  bool joined = false;  // no blank between it and the token before
  bool closed = true;   // Quoted: the closing quote is there (only ever the last token lacks it)
};

struct Tokens {
  std::vector<Token> tokens;
  size_t contentEnd = 0;  // where a comment starts, or the line's length
  // The last token is a quoted text whose closing quote is missing.
  bool unclosed() const { return !tokens.empty() && !tokens.back().closed; }
  // The groups of joined tokens (the blank-separated words) as [first, last) indexes.
  std::vector<std::pair<size_t, size_t>> words() const;
};

Tokens tokenize(const std::string& line, const Grammar& grammar);

// The line as written from one token to another (both included).
std::string spanText(const std::string& line, const Token& first, const Token& last);

// The escapes a quoted text may hold.
enum class Escapes {
  // \n \r \t \0 and \xHH (the two bytes read as hex as far as they go); any
  // other byte after a backslash stands for itself.
  Loose,
  // As Loose, and \\ \" \' \uXXXX \UXXXXXXXX; \x takes two hex digits; any
  // other escape is an error.
  Strict,
};

enum class EscapeError {
  None,
  LoneBackslash,  // the body ends with a backslash
  ShortHex,       // \x, \u or \U without its digits
  Unknown,        // Strict: an escape it does not know
  NoCharacter,    // Strict: \u or \U names a surrogate or a value past U+10FFFF
};

// Reads the body of a quoted text into bytes. On an error, *escape (when
// given) is the byte after the offending backslash.
EscapeError unescape(const std::string& body, Escapes escapes, std::string* bytes, char* escape = nullptr);

// The value of a hex digit, or -1.
int hexValue(char c);

// Appends the UTF-8 form of a code point (false for surrogates and values
// above U+10FFFF).
bool appendUtf8(uint32_t codePoint, std::string* out);

}  // namespace standin_common
