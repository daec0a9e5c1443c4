// Runs a parsed session script against an extension through the runtime
// stand-in, printing what the application would see. The host tool's files:
// main.cpp (options), script (the script language; script_line: one line's
// tokens and operands; script_expect: the expectations' operands; repeat:
// repeated blocks), session (the commands, step by step), transcript,
// extension_host (loading the extension, its context and simulated SDK),
// observer (console lines, events and SDK calls as they arrive),
// expectations, rules (breaches and late events over the whole run),
// descriptor, signatures (argument checks), sdk_control,
// received (the buffers the simulated SDK was handed), picture (PNG files),
// text (quoted texts).
#pragma once

#include <cstdio>
#include <functional>
#include <set>
#include <string>

#include "script.h"

namespace air {
class Context;
}

namespace anehost {

struct Options {
  bool rawUtf8 = false;          // show non-ASCII text as it is rather than as \u escapes
  bool invertedBitmaps = false;  // the runtime stores bitmap rows bottom first
  bool keepGoing = false;        // go on after a failed expectation
  unsigned ansiCodePage = 0;     // 0: the Win32 stand-in's default
  unsigned timeoutMs = 5000;     // how long expectations wait for an event or a console line
  std::string outDir = ".";      // where `save` writes relative file names
  std::string extensionsDir;     // extra folder of descriptors (besides <exe dir>/extensions)
  std::string scriptDir = ".";   // descriptor paths in the script are relative to it
  std::string exeDir = ".";      // the folder of anehost: libraries, LiteAV, extensions
  std::string exeFolder;         // the executable's folder the extension sees; "": exeDir
  // The folder that <exe> stands for.
  const std::string& shownExeFolder() const { return exeFolder.empty() ? exeDir : exeFolder; }
  bool strict = false;           // a call whose arguments do not fit the signature fails the run
  std::set<std::string> fromCommandLine;  // the settings the command line gave: the script's do not apply
  // Called with the descriptor's id and the first context after each `load`.
  std::function<void(const std::string& id, const air::Context& context)> onLoad;
};

enum ExitCode { kExitOk = 0, kExitFailed = 1, kExitScriptError = 2 };

// Runs the script; the transcript goes to out. Returns the exit status.
int runSession(const Script& script, const Options& options, FILE* out);

}  // namespace anehost
