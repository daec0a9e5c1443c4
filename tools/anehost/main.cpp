// anehost: runs a session script against Brisora or Tamvex through the AIR
// runtime stand-in and the simulated SDKs, and prints what the application
// would see. Exit status: 0 all expectations met, 1 an expectation failed,
// 2 a script or usage error.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "air/host.h"
#include "options.h"
#include "script.h"
#include "session.h"
#include "signatures.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define dup _dup
#define fdopen _fdopen
#else
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

const char* const kUsage =
    "usage: anehost [options] SCRIPT\n"
    "       anehost --describe Brisora|Tamvex|FUNCTION   the reference in the terminal\n"
    "       anehost --reference Brisora|Tamvex           the reference as Markdown (docs/)\n"
    "       anehost --signatures-json                    every signature as JSON (the ActionScript library)\n"
    "  --out DIR            where 'save' writes pictures (default: the current folder)\n"
    "  --ansi-codepage N    the ANSI code page of the simulated Windows (e.g. 936 or 1252)\n"
    "  --inverted-bitmaps   the runtime stores BitmapData rows bottom row first\n"
    "  --extensions DIR     another folder of extension descriptors\n"
    "  --timeout MS         how long expectations wait for an event or a console line (5000)\n"
    "  --keep-going         go on after a failed expectation\n"
    "  --utf8               show non-ASCII text as it is, not as \\u escapes\n"
    "  --strict             a call whose arguments do not fit the function's signature fails the run\n"
    "  --exe-folder DIR     the folder the extension sees as the executable's (<exe>); Linux builds only\n"
    "Each of these settings can also be given by a script line before 'extension'\n"
    "(option ansi-codepage 936, option inverted-bitmaps, option timeout 100, ...);\n"
    "the command line wins over the script.\n"
    "exit status: 0 all expectations met, 1 an expectation failed, 2 a script or usage error\n";

fs::path exeDir(const char* argv0) {
#ifdef _WIN32
  wchar_t buffer[32768];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
  if (n > 0 && n < 32768) return fs::path(std::wstring(buffer, n)).parent_path();
#else
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.parent_path();
#endif
  return fs::absolute(argv0).parent_path();
}

int usage(const char* message) {
  if (message) std::fprintf(stderr, "anehost: %s\n", message);
  std::fputs(kUsage, stderr);
  return anehost::kExitScriptError;
}

// The records of both bundled extensions, each loaded through a session of
// one `extension` line whose transcript is dropped. The libraries stay loaded, so
// the records stay readable.
std::vector<anehost::ExtensionApi> loadApis(anehost::Options options) {
  std::vector<anehost::ExtensionApi> apis;
  air::setKeepLibrariesLoaded(true);
  options.onLoad = [&](const std::string& id, const air::Context& context) {
    apis.push_back(anehost::readApi(id, context));
  };
  for (const char* name : {"Brisora", "Tamvex"}) {
    anehost::Script script;
    std::string error;
    if (!anehost::parseScript(std::string("extension ") + name + "\n", &script, &error)) continue;
    FILE* sink = std::tmpfile();
    if (!sink) continue;
    anehost::runSession(script, options, sink);
    std::fclose(sink);
  }
  return apis;
}

int runReference(const std::string& mode, const std::string& what, const anehost::Options& options) {
  const auto apis = loadApis(options);
  if (apis.size() != 2) {
    std::fprintf(stderr, "anehost: cannot load both extensions to read their tables\n");
    return anehost::kExitScriptError;
  }
  std::string out;
  if (mode == "--signatures-json") {
    out = anehost::signaturesJson(apis);
  } else {
    for (const auto& api : apis) {
      if (api.name == what) out = mode == "--reference" ? anehost::referenceMarkdown(api) : anehost::describeExtension(api);
      if (mode != "--describe") continue;
      for (const auto* f : api.functions)
        if (what == f->name) out += api.name + ": " + anehost::describeFunction(*f);
    }
  }
  if (out.empty()) {
    std::fprintf(stderr, "anehost: no extension or function named %s\n", what.c_str());
    return anehost::kExitScriptError;
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return anehost::kExitOk;
}

// What the command line asks for.
struct CommandLine {
  anehost::Options options;
  std::string scriptPath;
  std::string referenceMode, referenceWhat;  // --describe, --reference, --signatures-json
};

// Reads the arguments into *line. False when the run ends there, with its
// exit status in *code (help asked for, or a usage error).
bool readArguments(int argc, char** argv, CommandLine* line, int* code) {
  const auto stop = [code](int status) {
    *code = status;
    return false;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    bool takesValue = false;
    if (a.size() > 2 && a.compare(0, 2, "--") == 0 && anehost::optionKnown(a.substr(2), &takesValue)) {
      const std::string name = a.substr(2);
      const char* v = takesValue ? value() : "on";
      std::string error;
      if (!v) return stop(usage((a + " needs a value").c_str()));
      if (!anehost::setOption(name, v, "", &line->options, &error)) return stop(usage(("--" + error).c_str()));
      line->options.fromCommandLine.insert(name);
    } else if (a == "--describe" || a == "--reference") {
      const char* v = value();
      if (!v) return stop(usage((a + " needs Brisora, Tamvex or a function name").c_str()));
      line->referenceMode = a;
      line->referenceWhat = v;
    } else if (a == "--signatures-json") {
      line->referenceMode = a;
    } else if (a == "-h" || a == "--help") {
      std::fputs(kUsage, stdout);
      return stop(0);
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      return stop(usage(("unknown option " + a).c_str()));
    } else if (line->scriptPath.empty()) {
      line->scriptPath = a;
    } else {
      return stop(usage("one script at a time"));
    }
  }
  return true;
}

// Reads and parses the script ("-": the standard input) and applies its
// options. False with the message printed.
bool readScript(const std::string& path, anehost::Options* options, anehost::Script* script) {
  std::ostringstream text;
  if (path == "-") {
    text << std::cin.rdbuf();
  } else {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "anehost: cannot read %s\n", path.c_str());
      return false;
    }
    text << in.rdbuf();
    options->scriptDir = fs::absolute(path).parent_path().string();
  }
  std::string error;
  if (!anehost::parseScript(text.str(), script, &error) || !anehost::applyScriptOptions(*script, options, &error)) {
    std::fprintf(stderr, "anehost: %s: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

// Runs the session. The extensions print to file descriptor 1, which the
// session captures; the transcript goes to a copy of the original.
int runScript(const anehost::Script& script, const anehost::Options& options) {
  air::setBitmapLayout(options.invertedBitmaps, 0);
  std::fflush(stdout);
  const int fd = dup(1);
  FILE* out = fd >= 0 ? fdopen(fd, "w") : nullptr;
  if (!out) {
    std::fprintf(stderr, "anehost: cannot duplicate the standard output\n");
    return anehost::kExitScriptError;
  }
  const int code = anehost::runSession(script, options, out);
  std::fclose(out);
  return code;
}

}  // namespace

static int runHost(int argc, char** argv) {
  CommandLine line;
  int code = 0;
  if (!readArguments(argc, argv, &line, &code)) return code;
  if (!line.referenceMode.empty()) {
    line.options.exeDir = exeDir(argv[0]).string();
    return runReference(line.referenceMode, line.referenceWhat, line.options);
  }
  if (line.scriptPath.empty()) return usage("no script");
  anehost::Script script;
  if (!readScript(line.scriptPath, &line.options, &script)) return anehost::kExitScriptError;
  line.options.exeDir = exeDir(argv[0]).string();
  return runScript(script, line.options);
}

int main(int argc, char** argv) {
  try {
    return runHost(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "anehost: %s\n", e.what());
    return anehost::kExitScriptError;
  }
}
