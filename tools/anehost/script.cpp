// Reading a session script: its lines (with `repeat` blocks expanded), each
// one's command word, and the reader of that word, which takes the operands
// into the command's own record.
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

bool parseOption(LineReading& r, Command::Action* out) {
  if (r.haveExtension) return r.p.fail("options come before the 'extension' line");
  cmd::Option option;
  bool takesValue = false;
  bool ok = r.p.text(&option.name, "an option name");
  if (ok && !optionKnown(option.name, &takesValue))
    ok = r.p.fail("unknown option '" + option.name + "' (" + optionNames() + ")");
  if (ok && (takesValue || !r.p.atEnd())) ok = r.p.text(&option.value, takesValue ? "a value" : "on or off");
  else if (ok) option.value = "on";
  Options scratch;
  std::string message;
  if (ok && !setOption(option.name, option.value, "", &scratch, &message)) ok = r.p.fail(message);
  *out = std::move(option);
  return ok && r.p.end();
}

bool parseExtension(LineReading& r, Command::Action* out) {
  if (r.haveExtension) return r.p.fail("a script loads one extension");
  cmd::Extension extension;
  bool ok = r.p.text(&extension.extension, "an extension id or a descriptor file");
  if (ok && !r.p.atEnd()) ok = r.p.text(&extension.contextType, "a context type");
  *out = std::move(extension);
  return ok && r.p.end();
}

// `print TEXT`: one quoted text is its bytes; anything else is the rest of the line as written.
bool parsePrint(LineReading& r, Command::Action* out) {
  const Token* t = r.p.peek();
  const bool quoted = t && t->kind == Token::Kind::Text && r.tokens.size() == 2;
  *out = cmd::Print{quoted ? t->text : restAfter(r.line, 1)};
  return true;
}

bool parseIgnore(LineReading& r, Command::Action* out) {
  using What = cmd::Ignore::What;
  cmd::Ignore ignore;
  bool ok = true;
  if (r.p.word("nothing")) {
    ignore.what = What::Nothing;
  } else if (r.p.word("event")) {
    ignore.what = What::Event;
    ok = r.p.text(&ignore.match, "an event code");
  } else if (r.p.word("console")) {
    ignore.what = What::Console;
    ok = r.p.text(&ignore.match, "the start of console lines to ignore");
  } else if (r.p.word("win32")) {
    ignore.what = What::Win32;
    ok = r.p.text(&ignore.match, "the start of Win32 calls to ignore");
  } else {
    ok = r.p.fail("expected 'ignore event CODE', 'ignore console PREFIX', 'ignore win32 PREFIX' or 'ignore nothing'");
  }
  *out = std::move(ignore);
  return ok && r.p.end();
}

bool parseContext(LineReading& r, Command::Action* out) {
  cmd::NewContext context;
  const bool ok = r.p.atEnd() || r.p.text(&context.contextType, "a context type");
  *out = std::move(context);
  return ok && r.p.end();
}

bool parseFinalize(LineReading& r, Command::Action* out) {
  *out = cmd::Finalize{};
  return r.p.end();
}

// FUNCTION ARGS... of `call`, or of `let NAME = call` with the name to bind.
bool parseCallOf(LineReading& r, std::string bind, Command::Action* out) {
  cmd::Call call;
  call.bind = std::move(bind);
  bool ok = r.p.text(&call.function, "a function name");
  while (ok && !r.p.atEnd()) {
    Literal a;
    ok = r.p.literal(&a, true);
    if (ok) call.args.push_back(std::move(a));
    if (ok && !r.p.atEnd()) r.p.punct(',');
  }
  if (ok && !call.bind.empty()) r.p.bind(call.bind);
  *out = std::move(call);
  return ok;
}

bool parseCall(LineReading& r, Command::Action* out) { return parseCallOf(r, "", out); }

// `let NAME = sdk bytes|picture OPERATION`, after `sdk`.
bool parseLetReceived(LineReading& r, std::string name, Command::Action* out) {
  cmd::LetReceived let;
  let.name = std::move(name);
  let.picture = r.p.word("picture");
  const bool ok = (let.picture || r.p.word("bytes") || r.p.fail("expected 'sdk bytes OPERATION' or 'sdk picture OPERATION'")) &&
                  r.p.identifier(&let.operation, "an SDK operation") && r.p.end();
  if (ok) r.p.bind(let.name);
  *out = std::move(let);
  return ok;
}

bool parseLet(LineReading& r, Command::Action* out) {
  std::string name;
  if (!r.p.identifier(&name, "a name") || !(r.p.punct('=') || r.p.fail("expected '=' after let NAME"))) return false;
  if (r.p.word("sdk")) return parseLetReceived(r, std::move(name), out);
  if (r.p.word("call")) return parseCallOf(r, std::move(name), out);
  cmd::Let let;
  let.name = std::move(name);
  const bool ok = r.p.literal(&let.value, true) && r.p.end();
  if (ok) r.p.bind(let.name);
  *out = std::move(let);
  return ok;
}

bool parseWait(LineReading& r, Command::Action* out) {
  if (r.p.word("event")) {
    cmd::WaitEvent wait;
    const bool ok = r.p.event(&wait.event) && r.p.end();
    *out = std::move(wait);
    return ok;
  }
  cmd::Wait wait;
  const bool ok = r.p.unsignedNumber(kMaxWaitMs, &wait.ms, "milliseconds") && r.p.end();
  *out = wait;
  return ok;
}

bool parseSdk(LineReading& r, Command::Action* out) {
  const std::string command = restAfter(r.line, 1);
  if (command.empty()) return r.p.fail("expected an SDK command after 'sdk'");
  cmd::Sdk sdk;
  std::string message;
  if (!sdkCommandText(command, &sdk.command, &message)) return r.p.fail(message);
  *out = std::move(sdk);
  return true;
}

bool parseLibrary(LineReading& r, Command::Action* out) {
  cmd::Library library;
  library.remove = r.p.word("remove");
  bool ok = (library.remove || r.p.word("restore") ||
             r.p.fail("expected 'library remove PATH [EXPORT]' or 'library restore PATH [EXPORT]'")) &&
            r.p.text(&library.path, "a library file, relative to anehost's folder");
  if (ok && !r.p.atEnd()) ok = r.p.text(&library.exportName, "an export name");
  *out = std::move(library);
  return ok && r.p.end();
}

// `save NAME FILE`, `save NAME WxH FILE` or `save NAME W H FILE`.
bool parseSave(LineReading& r, Command::Action* out) {
  cmd::Save save;
  bool ok = r.p.boundName(&save.name);
  if (ok && r.tokens.size() >= 4) ok = r.p.size(&save.size);
  ok = ok && r.p.text(&save.file, "a file name") && r.p.end();
  if (ok && save.size.given && (save.size.width == 0 || save.size.height == 0))
    ok = r.p.fail("a picture needs a width and a height above 0");
  *out = std::move(save);
  return ok;
}

struct CommandWord {
  const char* word;
  bool beforeExtension;  // may come before the `extension` line
  CommandReader read;
};

const CommandWord kCommands[] = {
    {"option", true, parseOption},     {"extension", true, parseExtension}, {"print", true, parsePrint},
    {"ignore", true, parseIgnore},     {"context", false, parseContext},    {"finalize", false, parseFinalize},
    {"call", false, parseCall},        {"let", false, parseLet},            {"expect", false, parseExpect},
    {"wait", false, parseWait},        {"sdk", false, parseSdk},            {"library", false, parseLibrary},
    {"save", false, parseSave},
};

const CommandWord* commandWord(const std::string& word) {
  for (const CommandWord& c : kCommands)
    if (word == c.word) return &c;
  return nullptr;
}

// What the lines read so far decide for the ones that follow.
struct ScriptState {
  std::set<std::string> bound;  // the names bound by let
  bool haveExtension = false;
};

// One line: nothing for a blank one or a comment, else its command. False
// with the message (without its line number).
bool parseLine(const ScriptLine& scriptLine, ScriptState& state, std::vector<Command>* commands, std::string* error) {
  std::string content;
  std::vector<Token> tokens;
  if (!lineTokens(scriptLine.text, &tokens, &content, error)) return false;
  const std::string line = trim(content);
  if (line.empty()) return true;
  const std::string keyword = tokens[0].kind == Token::Kind::Word ? tokens[0].text : "";
  const CommandWord* command = commandWord(keyword);
  if ((!command || !command->beforeExtension) && !state.haveExtension) {
    *error = "the script must name its extension first ('extension ID')";
    return false;
  }
  if (!command) {
    *error = "unknown command '" + (keyword.empty() ? tokens[0].text : keyword) +
             "' (option, extension, call, let, expect, wait, sdk, library, save, ignore, print, context, finalize, repeat)";
    return false;
  }
  LineParser p(tokens, &state.bound);
  p.word(command->word);
  LineReading reading{p, tokens, line, state.haveExtension};
  Command c{scriptLine.number, line, {}};
  if (!command->read(reading, &c.action)) {
    *error = p.message();
    return false;
  }
  if (std::holds_alternative<cmd::Extension>(c.action)) state.haveExtension = true;
  commands->push_back(std::move(c));
  return true;
}

}  // namespace

bool parseScript(const std::string& text, Script* out, std::string* error) {
  // A byte order mark that some editors write is not part of the first line.
  std::vector<ScriptLine> lines;
  if (!expandRepeats(text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text, &lines, error)) return false;
  Script script;
  ScriptState state;
  std::string message;
  for (const ScriptLine& line : lines) {
    if (parseLine(line, state, &script.commands, &message)) continue;
    *error = "line " + std::to_string(line.number) + ": " + message;
    return false;
  }
  if (!state.haveExtension) {
    *error = "line " + std::to_string(lines.empty() ? 1 : lines.back().number) +
             ": the script names no extension ('extension ID')";
    return false;
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
