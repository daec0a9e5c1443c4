#include "script.h"

#include <set>
#include <sstream>

#include "call_lines.h"
#include "options.h"
#include "repeat.h"
#include "session.h"
#include "script_line.h"
#include "text.h"

namespace anehost {
namespace {

// The longest `wait`: ten minutes.
constexpr uint64_t kMaxWaitMs = 600000;

}  // namespace

bool parseScript(const std::string& text, Script* out, std::string* error) {
  Script script;
  std::set<std::string> bound;
  bool haveExtension = false;
  // A byte order mark that some editors write is not part of the first line.
  std::vector<ScriptLine> lines;
  if (!expandRepeats(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text, &lines, error)) return false;
  int lineNumber = 0;
  const auto failAt = [&](const std::string& message) {
    *error = "line " + std::to_string(lineNumber) + ": " + message;
    return false;
  };
  for (const ScriptLine& scriptLine : lines) {
    const std::string& raw = scriptLine.text;
    lineNumber = scriptLine.number;
    std::string message, content;
    std::vector<Token> tokens;
    if (!lineTokens(raw, &tokens, &content, &message)) return failAt(message);
    const std::string line = trim(content);
    if (line.empty()) continue;

    Command c;
    c.line = lineNumber;
    c.source = line;
    LineParser p(tokens, &bound);
    const std::string keyword = tokens[0].kind == Token::Kind::Word ? tokens[0].text : "";
    p.word(keyword.c_str());
    bool ok = true;

    if (keyword == "option") {
      if (haveExtension) return failAt("options come before the 'extension' line");
      c.op = Command::Op::Option;
      bool takesValue = false;
      ok = p.text(&c.name, "an option name");
      if (ok && !optionKnown(c.name, &takesValue)) ok = p.fail("unknown option '" + c.name + "' (" + optionNames() + ")");
      if (ok && (takesValue || !p.atEnd())) ok = p.text(&c.text, takesValue ? "a value" : "on or off");
      else if (ok) c.text = "on";
      Options scratch;
      std::string message;
      if (ok && !setOption(c.name, c.text, "", &scratch, &message)) ok = p.fail(message);
      ok = ok && p.end();
    } else if (keyword == "extension") {
      if (haveExtension) return failAt("a script loads one extension");
      c.op = Command::Op::Extension;
      ok = p.text(&c.name, "an extension id or a descriptor file");
      if (ok && !p.atEnd()) ok = p.text(&c.text, "a context type") && (c.hasText = true);
      ok = ok && p.end();
      haveExtension = true;
    } else if (keyword == "print") {
      c.op = Command::Op::Print;
      const auto* t = p.peek();
      if (t && t->kind == Token::Kind::Text && tokens.size() == 2) c.text = t->text;
      else c.text = restAfter(line, 1);
    } else if (keyword == "ignore") {
      c.op = Command::Op::Ignore;
      if (p.word("nothing")) {
        c.name = "nothing";
      } else if (p.word("event")) {
        c.name = "event";
        ok = p.text(&c.text, "an event code");
      } else if (p.word("console")) {
        c.name = "console";
        ok = p.text(&c.text, "the start of console lines to ignore");
      } else if (p.word("win32")) {
        c.name = "win32";
        ok = p.text(&c.text, "the start of Win32 calls to ignore");
      } else {
        ok = p.fail("expected 'ignore event CODE', 'ignore console PREFIX', 'ignore win32 PREFIX' or 'ignore nothing'");
      }
      ok = ok && p.end();
    } else if (!haveExtension) {
      return failAt("the script must name its extension first ('extension ID')");
    } else if (keyword == "context") {
      c.op = Command::Op::NewContext;
      if (!p.atEnd()) ok = p.text(&c.text, "a context type") && (c.hasText = true);
      ok = ok && p.end();
    } else if (keyword == "finalize") {
      c.op = Command::Op::Finalize;
      ok = p.end();
    } else if (keyword == "call" || keyword == "let") {
      if (keyword == "let") {
        ok = p.identifier(&c.bind, "a name") && (p.punct('=') || p.fail("expected '=' after let NAME"));
        if (ok && p.word("sdk")) {
          c.op = Command::Op::LetReceived;
          c.flag = p.word("picture");
          ok = (c.flag || p.word("bytes") || p.fail("expected 'sdk bytes OPERATION' or 'sdk picture OPERATION'")) &&
               p.identifier(&c.name, "an SDK operation") && p.end();
          if (!ok) return failAt(p.message());
          bound.insert(c.bind);
          script.commands.push_back(std::move(c));
          continue;
        }
        if (ok && !p.word("call")) {
          c.op = Command::Op::Let;
          ok = p.literal(&c.value, true) && p.end();
          if (ok) bound.insert(c.bind);
          if (!ok) return failAt(p.message());
          script.commands.push_back(std::move(c));
          continue;
        }
      }
      c.op = Command::Op::Call;
      ok = ok && p.text(&c.name, "a function name");
      while (ok && !p.atEnd()) {
        Literal a;
        ok = p.literal(&a, true);
        if (ok) c.args.push_back(std::move(a));
        if (ok && !p.atEnd()) p.punct(',');
      }
      if (ok && !c.bind.empty()) bound.insert(c.bind);
    } else if (keyword == "expect") {
      ok = parseExpect(p, tokens, line, &c);
    } else if (keyword == "wait") {
      if (p.word("event")) {
        c.op = Command::Op::WaitEvent;
        ok = p.text(&c.name, "an event code");
        if (ok && !p.atEnd()) ok = p.text(&c.text, "an event level") && (c.hasText = true);
        ok = ok && p.end();
      } else {
        c.op = Command::Op::Wait;
        ok = p.unsignedNumber(kMaxWaitMs, &c.number, "milliseconds") && p.end();
      }
    } else if (keyword == "sdk") {
      c.op = Command::Op::Sdk;
      std::string message;
      if (restAfter(line, 1).empty()) ok = p.fail("expected an SDK command after 'sdk'");
      else if (!sdkCommandText(restAfter(line, 1), &c.text, &message)) ok = p.fail(message);
    } else if (keyword == "library") {
      c.op = Command::Op::Library;
      c.flag = p.word("remove");
      ok = (c.flag || p.word("restore") || p.fail("expected 'library remove PATH [EXPORT]' or 'library restore PATH [EXPORT]'")) &&
           p.text(&c.text, "a library file, relative to anehost's folder");
      if (ok && !p.atEnd()) ok = p.text(&c.name, "an export name");
      ok = ok && p.end();
    } else if (keyword == "save") {
      c.op = Command::Op::Save;
      ok = p.boundName(&c.name);
      if (ok && tokens.size() >= 5) {
        ok = p.size(&c.width, &c.height);
        c.hasSize = true;
      } else if (ok && tokens.size() == 4) {
        ok = p.size(&c.width, &c.height);  // save NAME WxH FILE
        c.hasSize = true;
      }
      ok = ok && p.text(&c.text, "a file name") && p.end();
      if (ok && c.hasSize && (c.width == 0 || c.height == 0)) ok = p.fail("a picture needs a width and a height above 0");
    } else {
      return failAt("unknown command '" + (keyword.empty() ? tokens[0].text : keyword) +
                    "' (option, extension, call, let, expect, wait, sdk, library, save, ignore, print, context, finalize, repeat)");
    }
    if (!ok) return failAt(p.message());
    script.commands.push_back(std::move(c));
  }
  if (!haveExtension) {
    lineNumber = lineNumber ? lineNumber : 1;
    return failAt("the script names no extension ('extension ID')");
  }
  *out = std::move(script);
  return true;
}

std::string literalText(const Literal& l) {
  switch (l.kind) {
    case Literal::Kind::Null: return "null";
    case Literal::Kind::Bool: return l.boolean ? "true" : "false";
    case Literal::Kind::Int: return std::to_string(l.int32);
    case Literal::Kind::Uint: return std::to_string(l.uint32) + "u";
    case Literal::Kind::Number: {
      std::ostringstream s;
      s.precision(17);
      s << l.number;
      std::string t = s.str();
      if (t.find_first_of(".eEn") == std::string::npos) t += ".0";
      return t;
    }
    case Literal::Kind::Text: return quote(l.text);
    case Literal::Kind::Bytes: return "bytes(" + std::to_string(l.width) + ")";
    case Literal::Kind::Bitmap: return "bitmap(" + std::to_string(l.width) + ", " + std::to_string(l.height) + ")";
    case Literal::Kind::Name: return l.text;
  }
  return "?";
}

}  // namespace anehost
