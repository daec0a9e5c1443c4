// The session script: one command a line, read completely before anything
// runs, so a malformed script is refused before the extension is loaded.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace anehost {

// A value written in the script, as ActionScript would write it.
struct Literal {
  enum class Kind { Null, Bool, Int, Uint, Number, Text, Bytes, Bitmap, Name };
  Kind kind = Kind::Null;
  bool boolean = false;
  int32_t int32 = 0;
  uint32_t uint32 = 0;
  double number = 0;
  std::string text;    // Text: the bytes; Name: the bound name
  uint32_t width = 0;  // Bytes: the length (or the width of a fill); Bitmap: the width
  uint32_t height = 0;
  // Where the contents of a Bytes or Bitmap come from: zeros (a Bitmap: opaque
  // white), given bytes (a Bitmap: its pixels as a frame's bytes), a file, a
  // PNG picture, or a fill colour.
  enum class Content { None, Given, File, Png, Fill };
  Content content = Content::None;
  std::string data;         // Given: the bytes; File, Png: the file name
  uint32_t colour = 0;      // Fill: 0xAARRGGBB
  bool transparent = true;  // Bitmap
  uint32_t stride32 = 0;    // Bitmap: words a row; 0: the runtime's own layout
};

// An event as a script names it: its code and, when given, its level.
struct EventPattern {
  std::string code;
  std::string level;
  bool hasLevel = false;
  bool matches(const std::string& eventCode, const std::string& eventLevel) const {
    return eventCode == code && (!hasLevel || eventLevel == level);
  }
};

// Each command of the language, its operands named. A size written as W H or
// WxH is kept with whether it was written at all.
struct WrittenSize {
  bool given = false;
  uint32_t width = 0, height = 0;
};

namespace cmd {

struct Option {  // option NAME [VALUE]
  std::string name;
  std::string value;  // "on" for a flag written alone
};
struct Extension {  // extension ID-OR-DESCRIPTOR [CONTEXT-TYPE]
  std::string extension;
  std::string contextType;
};
struct NewContext {  // context [CONTEXT-TYPE]
  std::string contextType;
};
struct Finalize {};  // finalize
struct Call {  // [let NAME =] call FUNCTION ARGS...
  std::string function;
  std::vector<Literal> args;
  std::string bind;  // "": the result is not kept under a name
};
struct Let {  // let NAME = LITERAL
  std::string name;
  Literal value;
};
struct LetReceived {  // let NAME = sdk bytes|picture OPERATION
  std::string name;
  std::string operation;
  bool picture = false;  // the frame it handed over, rather than its bytes
};
struct ExpectResult {  // expect result VALUE
  Literal value;
};
struct ExpectEvent {  // expect event CODE [LEVEL]
  EventPattern event;
};
struct ExpectEventSet {  // expect events any order CODE [LEVEL], CODE [LEVEL], ...
  std::vector<EventPattern> events;
};
struct ExpectNothing {  // expect no event|console|sdk|win32|breach
  enum class Of { Event, Console, Sdk, Win32, Breach };
  Of of = Of::Event;
};
struct ExpectConsole {  // expect console [contains|matching|exactly] TEXT
  enum class Match { Line, Containing, Pattern, Exactly };
  Match match = Match::Line;
  std::string text;
};
struct ExpectSdk {  // expect sdk [later] CALL | expect no sdk CALL
  enum class When { Next, Later, Never };
  When when = When::Next;
  std::string call;  // OPERATION[(ARGS...)] as written
};
struct ExpectWin32 {  // expect win32 CALL[(ARGS...)] [-> RESULT]
  std::string call;
};
struct ExpectSize {  // expect size NAME N | expect size NAME W H
  std::string name;
  WrittenSize size;
  uint64_t length = 0;  // without a size
};
struct ExpectBytes {  // expect bytes NAME [at OFFSET] [repeat] CONTENTS | expect bytes NAME fill W H COLOUR
  std::string name;
  bool hasOffset = false;
  uint64_t offset = 0;
  bool repeated = false;
  bool fill = false;  // contents is a W x H frame of one colour
  Literal contents;
};
struct ExpectSameBytes {  // expect bytes NAME same as OTHER
  std::string name;
  std::string other;
};
struct ExpectPixel {  // expect pixel NAME [W H] at X Y COLOUR [within N]
  std::string name;
  WrittenSize size;
  uint32_t x = 0, y = 0, colour = 0, tolerance = 0;
};
struct ExpectPicture {  // expect picture NAME [W H] FILE.png [within N]
  std::string name;
  WrittenSize size;
  std::string file;
  uint32_t tolerance = 0;
};
struct ExpectCount {  // expect breaches N | expect late events N (at the end of the run)
  enum class Of { Breaches, LateEvents };
  Of of = Of::Breaches;
  uint64_t count = 0;
};
struct Wait {  // wait MS
  uint64_t ms = 0;
};
struct WaitEvent {  // wait event CODE [LEVEL]
  EventPattern event;
};
struct Sdk {  // sdk VERB ...
  std::string command;  // its texts written again for the simulated SDK's reader
};
struct Save {  // save NAME [W H] FILE
  std::string name;
  WrittenSize size;
  std::string file;
};
struct Ignore {  // ignore event CODE | ignore console PREFIX | ignore win32 PREFIX | ignore nothing
  enum class What { Nothing, Event, Console, Win32 };
  What what = What::Nothing;
  std::string match;  // the event code, or the start of the console lines or Win32 calls
};
struct Print {  // print TEXT
  std::string text;
};
struct Library {  // library remove|restore PATH [EXPORT]
  bool remove = false;
  std::string path;
  std::string exportName;  // "": the whole library
};

}  // namespace cmd

struct Command {
  using Action = std::variant<cmd::Option, cmd::Extension, cmd::NewContext, cmd::Finalize, cmd::Call, cmd::Let,
                              cmd::LetReceived, cmd::ExpectResult, cmd::ExpectEvent, cmd::ExpectEventSet,
                              cmd::ExpectNothing, cmd::ExpectConsole, cmd::ExpectSdk, cmd::ExpectWin32,
                              cmd::ExpectSize, cmd::ExpectBytes, cmd::ExpectSameBytes, cmd::ExpectPixel,
                              cmd::ExpectPicture, cmd::ExpectCount, cmd::Wait, cmd::WaitEvent, cmd::Sdk, cmd::Save,
                              cmd::Ignore, cmd::Print, cmd::Library>;
  int line = 0;
  std::string source;  // the line as written, without its comment
  Action action;
};

struct Script {
  std::vector<Command> commands;
};

// Parses the whole script. On failure, error holds "line N: message".
bool parseScript(const std::string& text, Script* out, std::string* error);

// The literal as anehost prints values: "text" quoted, 12, 12u, 1.5, true, null, ...
std::string literalText(const Literal& literal);

}  // namespace anehost
