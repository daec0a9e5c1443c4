// The session script: one command a line, read completely before anything
// runs, so a malformed script is refused before the extension is loaded.
#pragma once

#include <cstdint>
#include <string>
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

// One event of `expect events any order`: its code and, when given, its level.
struct EventPattern {
  std::string code;
  std::string level;
  bool hasLevel = false;
};

struct Command {
  enum class Op {
    Option,         // option NAME [VALUE]
    Extension,      // extension ID-OR-DESCRIPTOR [CONTEXT-TYPE]
    NewContext,     // context [CONTEXT-TYPE]
    Finalize,       // finalize
    Call,           // [let NAME =] call FUNCTION ARGS...
    Let,            // let NAME = LITERAL
    LetReceived,    // let NAME = sdk bytes|picture OPERATION
    ExpectResult,   // expect result VALUE
    ExpectEvent,    // expect event CODE [LEVEL]
    ExpectNoEvent,  // expect no event
    ExpectConsole,  // expect console [contains|matching] TEXT
    ExpectConsoleExactly,  // expect console exactly TEXT
    ExpectNoConsole,       // expect no console
    ExpectSdk,      // expect sdk OPERATION[(ARGS...)]
    ExpectNoSdk,    // expect no sdk
    ExpectWin32,    // expect win32 CALL[(ARGS...)] [-> RESULT]
    ExpectNoWin32,  // expect no win32
    ExpectSize,     // expect size NAME N | expect size NAME W H
    ExpectBytes,    // expect bytes NAME [at OFFSET] [repeat] CONTENTS | expect bytes NAME fill W H COLOUR
    ExpectPixel,    // expect pixel NAME [W H] at X Y COLOUR [within N]
    ExpectPicture,  // expect picture NAME [W H] FILE.png [within N]
    ExpectNoBreach, // expect no breach
    ExpectBreaches,    // expect breaches N (at the end of the run)
    ExpectLateEvents,  // expect late events N (at the end of the run)
    ExpectSdkLater,    // expect sdk later OPERATION[(ARGS...)]
    ExpectNoSdkCall,   // expect no sdk OPERATION[(ARGS...)]
    ExpectEventSet,    // expect events any order CODE [LEVEL], CODE [LEVEL], ...
    ExpectSameBytes,   // expect bytes NAME same as OTHER
    Wait,           // wait MS
    WaitEvent,      // wait event CODE [LEVEL]
    Sdk,            // sdk VERB ...
    Save,           // save NAME [W H] FILE
    Ignore,         // ignore event CODE | ignore console PREFIX | ignore win32 PREFIX | ignore nothing
    Print,          // print TEXT
    Library,        // library remove|restore PATH [EXPORT]
  };
  Op op = Op::Print;
  int line = 0;
  std::string source;  // the line as written, without its comment
  std::string name;    // function, bound name, extension, code, ...
  std::string bind;    // let NAME = call ...: the name
  std::string text;    // level, console text, sdk line, file, ...
  bool hasText = false;
  bool flag = false;   // expect console contains; ignore console (vs event)
  bool pattern = false;  // expect console matching
  bool repeat = false;   // expect bytes NAME [at OFFSET] repeat CONTENTS
  bool hasSize = false;
  uint32_t width = 0, height = 0;
  uint64_t number = 0;
  uint32_t x = 0, y = 0, colour = 0, tolerance = 0;  // expect pixel, expect picture
  std::vector<Literal> args;
  Literal value;
  std::vector<EventPattern> events;  // expect events any order
};

struct Script {
  std::vector<Command> commands;
};

// Parses the whole script. On failure, error holds "line N: message".
bool parseScript(const std::string& text, Script* out, std::string* error);

// The literal as anehost prints values: "text" quoted, 12, 12u, 1.5, true, null, ...
std::string literalText(const Literal& literal);

}  // namespace anehost
