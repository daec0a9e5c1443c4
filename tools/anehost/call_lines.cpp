#include "call_lines.h"

#include <algorithm>
#include <vector>

#include "standin_common/tokens.h"
#include "text.h"

namespace anehost {
namespace {

using standin_common::Grammar;
using standin_common::Token;

Grammar callGrammar() { return Grammar().withMarks("(){}[],"); }

// One piece of a call: a mark, a text by its bytes, or the words between
// them run together (blanks outside texts do not matter), "..." apart.
struct Piece {
  bool quoted = false;
  bool word = false;  // words, run together
  std::string text;
  bool operator==(const Piece& o) const { return quoted == o.quoted && text == o.text; }
  Piece() = default;
  Piece(bool q, std::string t) : quoted(q), text(std::move(t)) {}
};

bool pieces(const std::string& line, std::vector<Piece>* out, std::string* error) {
  const standin_common::Tokens t = standin_common::tokenize(line, callGrammar());
  if (t.unclosed()) {
    if (error) *error = "a text is not closed (missing '\"')";
    return false;
  }
  for (const Token& token : t.tokens) {
    Piece p;
    p.quoted = token.kind == Token::Kind::Quoted;
    if (!p.quoted) {
      p.text = token.text;
      const bool word = token.kind == Token::Kind::Bare && p.text != "...";
      Piece* last = out->empty() ? nullptr : &out->back();
      if (word && last && !last->quoted && last->word) {
        last->text += p.text;
        continue;
      }
      p.word = word;
    } else {
      std::string message;
      if (!unescape(token.text, &p.text, &message)) {
        if (error) *error = message;
        return false;
      }
    }
    out->push_back(std::move(p));
  }
  return true;
}

// '*' in the pattern stands for any run of characters.
bool globMatches(const std::string& pattern, const std::string& text) {
  size_t p = 0, t = 0, star = std::string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p, ++t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool pieceMatches(const Piece& pattern, const Piece& actual) {
  if (pattern.quoted || actual.quoted) return pattern == actual;
  return globMatches(pattern.text, actual.text);
}

bool isAnyRun(const Piece& p) { return !p.quoted && p.text == "..."; }

// Pieces against pieces, "..." standing for any run (dynamic programming:
// matched[j] tells whether the pattern so far matches the first j pieces).
bool piecesMatch(const std::vector<Piece>& pattern, const std::vector<Piece>& actual) {
  std::vector<char> matched(actual.size() + 1, 0);
  matched[0] = 1;
  for (const Piece& p : pattern) {
    std::vector<char> next(actual.size() + 1, 0);
    if (isAnyRun(p)) {
      char any = 0;
      for (size_t j = 0; j <= actual.size(); ++j) next[j] = any = static_cast<char>(any || matched[j]);
    } else {
      for (size_t j = 0; j < actual.size(); ++j)
        if (matched[j] && pieceMatches(p, actual[j])) next[j + 1] = 1;
    }
    matched.swap(next);
  }
  return matched[actual.size()] != 0;
}

}  // namespace

std::string callLineText(const std::string& call, bool rawUtf8) {
  const standin_common::Tokens t = standin_common::tokenize(call, callGrammar());
  std::string out;
  size_t at = 0;
  for (const Token& token : t.tokens) {
    if (token.kind != Token::Kind::Quoted || !token.closed) continue;
    std::string bytes, error;
    if (!unescape(token.text, &bytes, &error)) continue;  // shown as the log wrote it
    out.append(call, at, token.begin - at);
    out += quoteBytes(bytes, rawUtf8);
    at = token.end;
  }
  out.append(call, at, std::string::npos);
  return out;
}

bool checkCallPattern(const std::string& pattern, std::string* error) {
  std::vector<Piece> p;
  return pieces(pattern, &p, error);
}

bool callMatches(const std::string& pattern, const std::string& actual) {
  std::vector<Piece> want, got;
  if (!pieces(pattern, &want, nullptr)) return false;
  if (!pieces(actual, &got, nullptr)) got = {Piece{false, actual}};
  const bool operationOnly = std::none_of(want.begin(), want.end(), [](const Piece& p) { return !p.quoted && p.text == "("; });
  if (operationOnly) {
    std::vector<Piece> head;
    for (const Piece& g : got) {
      if (!g.quoted && g.text == "(") break;
      head.push_back(g);
    }
    return piecesMatch(want, head);
  }
  return piecesMatch(want, got);
}

}  // namespace anehost
