// The tokenizer shared by the stand-ins' command lines and the host's scripts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "standin_common/tokens.h"

namespace {

using namespace standin_common;

std::vector<std::string> texts(const Tokens& t) {
  std::vector<std::string> out;
  for (const Token& token : t.tokens) out.push_back((token.joined ? "+" : "") + token.text);
  return out;
}

TEST(StandinTokens, QuotedTextsMarksAndJoinedPieces) {
  Grammar g;
  g.marks = "=,";
  const std::string line = "frame  list=\"a b\",x\"y\"\t# not a comment";
  const Tokens t = tokenize(line, g);
  EXPECT_EQ(texts(t), (std::vector<std::string>{"frame", "list", "+=", "+a b", "+,", "+x", "+y", "#", "not", "a",
                                                "comment"}));
  EXPECT_EQ(t.tokens[3].kind, Token::Kind::Quoted);
  EXPECT_EQ(spanText(line, t.tokens[1], t.tokens[6]), "list=\"a b\",x\"y\"");
  EXPECT_EQ(t.words().size(), 6u);
  // A backslash takes the next byte with it, so an escaped quote does not close the text.
  const Tokens open = tokenize("say \"a\\\" b", g);
  EXPECT_TRUE(open.unclosed());
  EXPECT_EQ(open.tokens.back().text, "a\\\" b");
}

TEST(StandinTokens, CommentsAtTheStartOfAWordOrAnywhere) {
  Grammar words;
  words.comment = '#';
  const std::string line = "a#b \"#\" #rest";
  const Tokens t = tokenize(line, words);
  EXPECT_EQ(texts(t), (std::vector<std::string>{"a#b", "#"}));
  EXPECT_EQ(t.contentEnd, line.find(" #rest") + 1);
  Grammar anywhere = words;
  anywhere.commentInWords = true;
  EXPECT_EQ(texts(tokenize(line, anywhere)), (std::vector<std::string>{"a"}));
}

TEST(StandinTokens, NumbersAsActionScriptWritesThem) {
  Grammar g;
  g.marks = "(),=";
  g.numbers = true;
  const Tokens t = tokenize("f(-1.5e-3, 0x1F,12u)1-2 x-1 640x360", g);
  std::vector<std::string> numbers;
  for (const Token& token : t.tokens)
    if (token.kind == Token::Kind::Number) numbers.push_back(token.text);
  EXPECT_EQ(numbers, (std::vector<std::string>{"-1.5e-3", "0x1F", "12u", "1", "-2", "640x360"}));
  EXPECT_EQ(t.tokens.back().kind, Token::Kind::Number);
  EXPECT_EQ(t.tokens[t.tokens.size() - 2].text, "x-1");
}

TEST(StandinTokens, LongHexTakesTwoBytesEvenAQuote) {
  Grammar g;
  g.longHex = true;
  EXPECT_TRUE(tokenize("\"\\x4\"", g).unclosed());
  EXPECT_FALSE(tokenize("\"\\x4\"\"", g).unclosed());
  g.longHex = false;
  EXPECT_FALSE(tokenize("\"\\x4\"", g).unclosed());
}

TEST(StandinTokens, LooseAndStrictEscapes) {
  std::string out;
  EXPECT_EQ(unescape("a\\n\\x41\\q\\u", Escapes::Loose, &out), EscapeError::None);
  EXPECT_EQ(out, "a\nAqu");
  EXPECT_EQ(unescape("\\x4Z", Escapes::Loose, &out), EscapeError::None);
  EXPECT_EQ(out, "\x04");
  EXPECT_EQ(unescape("\\x4", Escapes::Loose, &out), EscapeError::ShortHex);
  EXPECT_EQ(unescape("ab\\", Escapes::Loose, &out), EscapeError::LoneBackslash);

  EXPECT_EQ(unescape("\\u00e9\\U0001F600\\\\\\\"\\'\\0", Escapes::Strict, &out), EscapeError::None);
  EXPECT_EQ(out, std::string("\xC3\xA9\xF0\x9F\x98\x80\\\"'\0", 10));
  char escape = 0;
  EXPECT_EQ(unescape("\\x4Z", Escapes::Strict, &out, &escape), EscapeError::ShortHex);
  EXPECT_EQ(escape, 'x');
  EXPECT_EQ(unescape("\\q", Escapes::Strict, &out, &escape), EscapeError::Unknown);
  EXPECT_EQ(escape, 'q');
  EXPECT_EQ(unescape("\\uD800", Escapes::Strict, &out), EscapeError::NoCharacter);
  EXPECT_EQ(unescape("\\U0011FFFF", Escapes::Strict, &out), EscapeError::NoCharacter);
}

}  // namespace
