// `repeat N {` ... `}`: the lines of the block, N times over, with `{i}`
// standing for the round (1 to N) wherever it is written in them, quoted
// texts included. Expanded before the lines are read as commands, so each
// round's lines are checked like any other.
#pragma once

#include <string>
#include <vector>

namespace anehost {

struct ScriptLine {
  int number = 0;    // the line's number in the file
  std::string text;  // as written, {i} replaced
};

// The lines of the script with every block expanded. False with
// "line N: message" for a block not closed, a '}' without a block, a block
// inside a block, a count that is not 1 to 100000, or blocks that come to
// more than a million lines.
bool expandRepeats(const std::string& text, std::vector<ScriptLine>* lines, std::string* error);

}  // namespace anehost
