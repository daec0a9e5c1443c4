#include "repeat.h"

#include <algorithm>
#include <sstream>

#include "script_line.h"

namespace anehost {
namespace {

constexpr uint64_t kMaxRounds = 100000;
// What all blocks together may expand to.
constexpr size_t kMaxLines = 1000000;

// The words of a line before its comment, as the script reads them.
std::vector<Token> wordsOf(const std::string& raw) {
  std::vector<Token> tokens;
  std::string content, error;
  if (!lineTokens(raw, &tokens, &content, &error)) tokens.clear();  // the line's own reading reports it
  return tokens;
}

bool opensBlock(const std::vector<Token>& t) {
  return !t.empty() && t[0].kind == Token::Kind::Word && t[0].text == "repeat";
}

bool closesBlock(const std::vector<Token>& t) {
  return t.size() == 1 && t[0].kind == Token::Kind::Word && t[0].text == "}";
}

std::string withRound(std::string text, uint64_t round) {
  const std::string mark = "{i}", value = std::to_string(round);
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + value.size()))
    text.replace(at, mark.size(), value);
  return text;
}

}  // namespace

bool expandRepeats(const std::string& text, std::vector<ScriptLine>* lines, std::string* error) {
  std::istringstream in(text);
  std::string raw;
  int number = 0, blockLine = 0;
  uint64_t rounds = 0;
  std::vector<ScriptLine> block;
  const auto fail = [&](int line, const std::string& message) {
    *error = "line " + std::to_string(line) + ": " + message;
    return false;
  };
  while (std::getline(in, raw)) {
    ++number;
    const std::vector<Token> t = wordsOf(raw);
    if (opensBlock(t)) {
      if (blockLine) return fail(number, "a repeat block cannot hold another one");
      if (t.size() != 3 || t[1].kind != Token::Kind::Number || !parseUnsigned(t[1].text, kMaxRounds, &rounds) ||
          rounds == 0 || t[2].text != "{")
        return fail(number, "expected 'repeat N {' with N from 1 to 100000");
      blockLine = number;
    } else if (closesBlock(t)) {
      if (!blockLine) return fail(number, "'}' closes no repeat block");
      if (block.size() * rounds > kMaxLines - std::min(kMaxLines, lines->size()))
        return fail(blockLine, "the script's repeat blocks come to more than 1000000 lines");
      for (uint64_t round = 1; round <= rounds; ++round)
        for (const ScriptLine& l : block) lines->push_back({l.number, withRound(l.text, round)});
      block.clear();
      blockLine = 0;
    } else {
      (blockLine ? block : *lines).push_back({number, raw});
    }
  }
  if (blockLine) return fail(blockLine, "the repeat block is not closed ('}' on a line of its own)");
  return true;
}

}  // namespace anehost
