#include "session.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <thread>
#include <variant>

#include "air/host.h"
#include "descriptor.h"
#include "picture.h"
#include "sdk_control.h"
#include "signatures.h"
#include "text.h"

#ifndef _WIN32
#include "win32_standin.h"
#endif

namespace anehost {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr const char* kPlatform = "Windows-x86";

// A failure that ends the run: a script error (2) or a failed expectation (1).
struct Stop {
  int code;
  std::string message;
};

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The text without blanks outside quoted texts, so "Op(1, \"a b\")" and
// "Op(1,\"a b\")" compare equal.
std::string squeeze(const std::string& s) {
  std::string out;
  for (const auto& t : standin_common::tokenize(s, standin_common::Grammar().withBlanks(" \t")).tokens)
    out.append(s, t.begin, t.end - t.begin);
  return out;
}

// Whether a call-log line matches what `expect sdk` wrote: the operation
// alone, the whole call, or a call whose remaining arguments are "...".
bool sdkCallMatches(const std::string& expected, const std::string& actual) {
  const std::string e = squeeze(expected);
  const std::string a = squeeze(actual);
  if (e.find('(') == std::string::npos) return a.substr(0, a.find('(')) == e;
  if (e.size() >= 4 && e.compare(e.size() - 4, 4, "...)") == 0) {
    const std::string prefix = e.substr(0, e.size() - 4);
    return a.compare(0, prefix.size(), prefix) == 0;
  }
  return a == e;
}

std::string valueText(const air::Value& v, bool rawUtf8) {
  struct Visitor {
    bool raw;
    std::string operator()(const air::Null&) const { return "null"; }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
    std::string operator()(int32_t i) const { return std::to_string(i); }
    std::string operator()(uint32_t u) const { return std::to_string(u) + "u"; }
    std::string operator()(double d) const {
      Literal l;
      l.kind = Literal::Kind::Number;
      l.number = d;
      return literalText(l);
    }
    std::string operator()(const std::string& s) const { return quote(s, raw); }
    std::string operator()(const std::shared_ptr<air::ByteArray>& b) const {
      return b ? "ByteArray(" + std::to_string(b->bytes.size()) + " bytes)" : "null";
    }
    std::string operator()(const std::shared_ptr<air::Bitmap>& b) const {
      return b ? "BitmapData(" + std::to_string(b->width) + "x" + std::to_string(b->height) + ")" : "null";
    }
    std::string operator()(const std::shared_ptr<air::PlainObject>&) const { return "Object"; }
  };
  return std::visit(Visitor{rawUtf8}, v);
}

// The number a value holds, as ActionScript compares numbers.
bool numberOf(const air::Value& v, double* out) {
  if (auto p = std::get_if<int32_t>(&v)) *out = *p;
  else if (auto q = std::get_if<uint32_t>(&v)) *out = *q;
  else if (auto d = std::get_if<double>(&v)) *out = *d;
  else return false;
  return true;
}

bool sameValue(const air::Value& a, const air::Value& b) {
  double x, y;
  if (numberOf(a, &x) && numberOf(b, &y)) return x == y || (std::isnan(x) && std::isnan(y));
  if (a.index() != b.index()) return false;
  return a == b;  // objects compare by identity (shared_ptr), the rest by value
}

class Session {
 public:
  Session(const Options& options, FILE* out) : o_(options), out_(out) {}

  int run(const Script& script) {
    int failures = 0;
    int code = kExitOk;
    try {
      for (const Command& c : script.commands) {
        try {
          step(c);
        } catch (const Stop& stop) {
          if (stop.code == kExitFailed) {
            ++failures;
            say("    FAILED line " + std::to_string(c.line) + ": " + stop.message);
            std::fprintf(stderr, "anehost: line %d: expectation failed: %s\n", c.line, stop.message.c_str());
            code = kExitFailed;
            if (o_.keepGoing) continue;
          }
          throw;
        }
      }
      finish();
    } catch (const Stop& stop) {
      if (stop.code == kExitScriptError) {
        say("    ERROR: " + stop.message);
        std::fprintf(stderr, "anehost: %s\n", stop.message.c_str());
        code = kExitScriptError;
      }
      finishQuietly();
    } catch (const std::exception& e) {
      say(std::string("    ERROR: ") + e.what());
      std::fprintf(stderr, "anehost: %s\n", e.what());
      code = kExitScriptError;
      finishQuietly();
    }
    const auto b = air::breaches();
    say("runtime rule breaches: " + std::to_string(b.total()) +
        (b.total() ? " (wrong thread " + std::to_string(b.wrongThread) + ", illegal state " +
                         std::to_string(b.illegalState) + ", invalid object " + std::to_string(b.invalidObject) +
                         ", invalid argument " + std::to_string(b.invalidArgument) + ")"
                   : ""));
    if (const uint64_t late = air::eventsAfterFinalize())
      say("events sent to a finalized context: " + std::to_string(late));
    if (code == kExitOk) say("all expectations met");
    else if (code == kExitFailed) say(std::to_string(failures) + " expectation(s) failed");
    return code;
  }

 private:
  // ---- printing ----
  void say(const std::string& line) {
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
  }
  void item(const char* tag, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "    %-8s ", tag);
    say(head + text);
  }
  std::string q(const std::string& s) const { return quote(s, o_.rawUtf8); }

  [[noreturn]] void scriptError(const Command& c, const std::string& message) {
    throw Stop{kExitScriptError, "line " + std::to_string(c.line) + ": " + message};
  }
  [[noreturn]] void failed(const std::string& message) { throw Stop{kExitFailed, message}; }

  // ---- what the extension shows: console lines, events, SDK calls ----
  void consoleLine(const std::string& line) {
    for (const auto& prefix : ignoredConsole_) {
      if (line.compare(0, prefix.size(), prefix) == 0) {
        ++ignoredConsoleCount_;
        return;
      }
    }
    item("console", q(line));
    consoleLines_.push_back(line);
  }

  // Takes what the extension printed. The extensions start each line with a
  // line break, so the last piece is held until the next one starts or the
  // step ends.
  void pumpConsole(bool endOfStep) {
    if (!console_) return;
    partial_ += console_->take();
    size_t start = 0;
    for (size_t nl; (nl = partial_.find('\n', start)) != std::string::npos; start = nl + 1) {
      std::string line = partial_.substr(start, nl - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (!line.empty()) consoleLine(line);
    }
    partial_.erase(0, start);
    if (endOfStep && !partial_.empty()) {
      consoleLine(partial_);
      partial_.clear();
    }
  }

  void pumpSdkCalls() {
    if (!sdk_) return;
    for (auto& call : sdk_->takeCalls()) {
      item("sdk", call);
      calls_.push_back(std::move(call));
    }
  }

  // Events as the runtime delivers them on the main thread, between calls.
  void pumpEvents() {
    if (!context_ || context_->disposed()) return;
    for (auto& e : context_->takeEvents()) {
      if (watch_ && e.code == watch_->name && (!watch_->hasText || e.level == watch_->text)) watched_ = true;
      if (std::find(ignoredEvents_.begin(), ignoredEvents_.end(), e.code) != ignoredEvents_.end()) {
        ++ignoredEventCounts_[e.code];
        continue;
      }
      item("event", q(e.code) + " " + q(e.level));
      events_.push_back(std::move(e));
    }
  }

  void pump(bool endOfStep) {
    pumpConsole(endOfStep);
    pumpSdkCalls();
    pumpEvents();
  }

  void endStep() {
    pump(true);
    if (ignoredConsoleCount_) {
      item("ignored", std::to_string(ignoredConsoleCount_) + " console line(s)");
      ignoredConsoleCount_ = 0;
    }
    for (const auto& [code, count] : ignoredEventCounts_) item("ignored", std::to_string(count) + " event(s) " + q(code));
    ignoredEventCounts_.clear();
  }

  // Polls until done() or the time is up.
  template <typename Done>
  bool pollUntil(unsigned ms, Done done) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      pump(false);
      if (done()) return true;
      if (Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  // ---- the extension ----
  std::string findDescriptor(const Command& c) {
    const std::string& name = c.name;
    const bool isPath = name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
                        (name.size() > 4 && lower(name.substr(name.size() - 4)) == ".xml");
    if (isPath) {
      fs::path p(name);
      if (p.is_relative()) p = fs::path(o_.scriptDir) / p;
      return p.string();
    }
    std::vector<fs::path> folders;
    if (!o_.extensionsDir.empty()) folders.emplace_back(o_.extensionsDir);
    folders.push_back(fs::path(o_.exeDir) / "extensions");
    std::string seen;
    for (const auto& folder : folders) {
      std::error_code ec;
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".xml") files.push_back(entry.path());
      std::sort(files.begin(), files.end());
      for (const auto& file : files) {
        Descriptor d;
        std::string error;
        if (!readDescriptorFile(file.string(), kPlatform, &d, &error)) continue;
        const auto dot = d.id.rfind('.');
        const std::string shortName = dot == std::string::npos ? d.id : d.id.substr(dot + 1);
        if (d.id == name || lower(shortName) == lower(name)) return file.string();
        seen += (seen.empty() ? "" : ", ") + d.id;
      }
    }
    scriptError(c, "no extension descriptor with id " + q(name) + " in " + fs::path(folders.back()).string() +
                       (seen.empty() ? "" : " (found " + seen + ")"));
  }

  std::string findLibrary(const std::string& nativeLibrary, const fs::path& descriptorDir) {
    const fs::path file(nativeLibrary);
    const std::string stem = file.stem().string();
    std::vector<std::string> names{nativeLibrary};
#ifdef _WIN32
    names.push_back("lib" + nativeLibrary);
#else
    names.push_back("lib" + stem + ".so");
    names.push_back(stem + ".so");
#endif
    for (const fs::path& dir : {descriptorDir, fs::path(o_.exeDir)}) {
      for (const auto& n : names) {
        std::error_code ec;
        const fs::path candidate = dir / n;
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
      }
    }
    return {};
  }

  void setAnsiCodePage() {
    if (!o_.ansiCodePage) return;
#ifdef _WIN32
    item("note", "--ansi-codepage has no effect on Windows: the system's ANSI code page applies");
#else
    // One Win32 stand-in serves the whole process, as kernel32.dll does.
    win32::setAnsiCodePage(o_.ansiCodePage);
#endif
  }

  void loadExtension(const Command& c) {
    const std::string path = findDescriptor(c);
    Descriptor d;
    std::string error;
    if (!readDescriptorFile(path, kPlatform, &d, &error)) scriptError(c, error);
    const std::string library = findLibrary(d.nativeLibrary, fs::path(path).parent_path());
    if (library.empty()) scriptError(c, "no library file for " + q(d.nativeLibrary) + " beside " + path + " or in " + o_.exeDir);
    item("load", q(d.id) + " version " + q(d.versionNumber) + ", " + q(d.nativeLibrary) + " as " + library);
    item("entry", q(d.initializer) + " / " + q(d.finalizer));
    extension_ = air::Extension::load(library, d.initializer, d.finalizer, &error);
    if (!extension_) scriptError(c, "cannot load " + library + ": " + error);
    setAnsiCodePage();
    sdk_ = connectSdk(d.nativeLibrary, &error);
    if (!sdk_) item("note", error);
    else item("sdk", "simulated by " + sdk_->name());
    newContext(c.hasText ? c.text : "");
    if (o_.onLoad) o_.onLoad(d.id, *context_);
  }

  void newContext(const std::string& type) {
    if (context_ && !context_->disposed()) context_->dispose();
    context_ = extension_->createContext(type);
    if (!context_) throw Stop{kExitScriptError, "the context initializer did not give a context"};
    item("context", std::to_string(context_->functionNames().size()) + " functions");
  }

  air::Value makeValue(const Command& c, const Literal& l) {
    switch (l.kind) {
      case Literal::Kind::Null: return air::Null{};
      case Literal::Kind::Bool: return l.boolean;
      case Literal::Kind::Int: return l.int32;
      case Literal::Kind::Uint: return l.uint32;
      case Literal::Kind::Number: return l.number;
      case Literal::Kind::Text: return l.text;
      case Literal::Kind::Bytes: {
        auto b = std::make_shared<air::ByteArray>();
        b->bytes.assign(l.width, 0);
        return b;
      }
      case Literal::Kind::Bitmap: {
        // As `new BitmapData(w, h)`: transparent, filled with opaque white.
        auto b = std::make_shared<air::Bitmap>();
        b->width = l.width;
        b->height = l.height;
        b->transparent = true;
        b->invertedY = o_.invertedBitmaps;
        b->stride32 = l.width;
        b->words.assign(static_cast<size_t>(l.width) * l.height, 0xFFFFFFFFu);
        return b;
      }
      case Literal::Kind::Name: {
        const auto it = vars_.find(l.text);
        if (it == vars_.end()) scriptError(c, "'" + l.text + "' is not bound");
        return it->second;
      }
    }
    return air::Null{};
  }

  const air::Value& bound(const Command& c) {
    const auto it = vars_.find(c.name);
    if (it == vars_.end()) scriptError(c, "'" + c.name + "' is not bound");
    return it->second;
  }

  // ---- the commands ----
  void step(const Command& c) {
    say(std::to_string(c.line) + "> " + c.source);
    switch (c.op) {
      case Command::Op::Extension:
        loadExtension(c);
        break;
      case Command::Op::NewContext:
        beginAction();
        newContext(c.hasText ? c.text : "");
        break;
      case Command::Op::Finalize:
        beginAction();
        if (context_ && !context_->disposed()) context_->dispose();
        break;
      case Command::Op::Call:
        beginAction();
        doCall(c);
        break;
      case Command::Op::Let:
        vars_[c.bind] = makeValue(c, c.value);
        break;
      case Command::Op::ExpectResult:
        expectResult(c);
        break;
      case Command::Op::ExpectEvent:
        expectEvent(c);
        break;
      case Command::Op::ExpectNoEvent:
        pump(true);
        if (!events_.empty())
          failed("expected no event, but " + q(events_.front().code) + " " + q(events_.front().level) +
                 (events_.size() > 1 ? " and " + std::to_string(events_.size() - 1) + " more" : "") +
                 " arrived");
        break;
      case Command::Op::ExpectConsole:
        expectConsole(c);
        break;
      case Command::Op::ExpectSdk:
        expectSdk(c);
        break;
      case Command::Op::ExpectNoSdk:
        pump(true);
        if (!calls_.empty()) failed("expected no SDK call, but the extension called " + calls_.front());
        break;
      case Command::Op::ExpectSize:
        expectSize(c);
        break;
      case Command::Op::ExpectNoBreach: {
        const auto total = air::breaches().total();
        if (total) failed("the extension broke the runtime's rules " + std::to_string(total) + " time(s)");
        break;
      }
      case Command::Op::Wait: {
        beginAction();
        pollUntil(static_cast<unsigned>(c.number), [] { return false; });
        break;
      }
      case Command::Op::WaitEvent: {
        beginAction();
        watch_ = &c;
        watched_ = false;
        const bool seen = pollUntil(o_.timeoutMs, [this] { return watched_; });
        watch_ = nullptr;
        if (!seen)
          failed("no event " + q(c.name) + (c.hasText ? " " + q(c.text) : "") + " arrived within " +
                 std::to_string(o_.timeoutMs) + " ms");
        break;
      }
      case Command::Op::Sdk: {
        beginAction();
        if (!sdk_) scriptError(c, "this extension has no simulated SDK to command");
        std::string error;
        if (!sdk_->command(c.text, &error)) scriptError(c, sdk_->name() + " refused the command: " + error);
        break;
      }
      case Command::Op::Save:
        save(c);
        break;
      case Command::Op::Ignore:
        if (c.name == "nothing") {
          ignoredEvents_.clear();
          ignoredConsole_.clear();
        } else if (c.name == "event") {
          ignoredEvents_.push_back(c.text);
          // Already delivered events of that code no longer count either.
          events_.erase(std::remove_if(events_.begin(), events_.end(),
                                       [&](const air::Event& e) { return e.code == c.text; }),
                        events_.end());
        } else {
          ignoredConsole_.push_back(c.text);
        }
        break;
      case Command::Op::Print:
        item("note", c.text);
        break;
    }
    endStep();
  }

  // A call, sdk or wait step starts: what came before it is shown, and the
  // console lines and SDK calls that expectations look at start afresh.
  void beginAction() {
    pump(true);
    consoleLines_.clear();
    calls_.clear();
  }

  void doCall(const Command& c) {
    if (!context_ || context_->disposed()) scriptError(c, "no context: it was finalized ('context' makes a new one)");
    if (!context_->hasFunction(c.name)) scriptError(c, "the extension has no function " + q(c.name));
    std::vector<air::Value> args;
    for (const auto& l : c.args) args.push_back(makeValue(c, l));
    if (const core::ApiFunction* f = core::apiOf(context_->functionData(c.name))) {
      for (const auto& warning : argumentWarnings(*f, args)) {
        item("warning", warning);
        if (o_.strict) failed(warning + " (--strict)");
      }
    }
    air::Value result = context_->call(c.name, args);
    pumpConsole(true);
    pumpSdkCalls();
    item("result", valueText(result, o_.rawUtf8));
    haveResult_ = true;
    result_ = result;
    if (!c.bind.empty()) vars_[c.bind] = result;
  }

  void expectResult(const Command& c) {
    if (!haveResult_) scriptError(c, "no call has returned yet");
    const air::Value wanted = makeValue(c, c.value);
    if (!sameValue(result_, wanted))
      failed("expected result " + valueText(wanted, o_.rawUtf8) + ", the call returned " + valueText(result_, o_.rawUtf8));
  }

  void expectEvent(const Command& c) {
    pollUntil(o_.timeoutMs, [&] { return !events_.empty(); });
    const std::string wanted = q(c.name) + (c.hasText ? " " + q(c.text) : "");
    if (events_.empty()) failed("expected event " + wanted + ", no event arrived within " + std::to_string(o_.timeoutMs) + " ms");
    const air::Event e = events_.front();
    events_.pop_front();
    if (e.code != c.name || (c.hasText && e.level != c.text))
      failed("expected event " + wanted + ", the next event was " + q(e.code) + " " + q(e.level));
  }

  void expectConsole(const Command& c) {
    const auto matches = [&](const std::string& line) {
      return c.flag ? line.find(c.text) != std::string::npos : line == c.text;
    };
    size_t checked = 0;
    bool found = false;
    const auto search = [&] {
      for (; checked < consoleLines_.size(); ++checked) {
        if (matches(consoleLines_[checked])) {
          consoleLines_.erase(consoleLines_.begin(), consoleLines_.begin() + static_cast<long>(checked) + 1);
          return found = true;
        }
      }
      return false;
    };
    if (!search()) {
      pollUntil(o_.timeoutMs, [&] {
        if (!partial_.empty()) {  // a line still without its successor is complete by now
          consoleLine(partial_);
          partial_.clear();
        }
        return search();
      });
    }
    if (!found) {
      std::string seen = consoleLines_.empty() ? "none" : "";
      for (size_t i = 0; i < consoleLines_.size() && i < 5; ++i) seen += "\n        " + q(consoleLines_[i]);
      if (consoleLines_.size() > 5) seen += "\n        ...";
      failed(std::string("expected a console line ") + (c.flag ? "containing " : "") + q(c.text) +
             "; lines printed since the last call: " + seen);
    }
  }

  void expectSdk(const Command& c) {
    if (!sdk_) scriptError(c, "this extension has no simulated SDK");
    pump(true);
    if (calls_.empty()) failed("expected the SDK call " + c.text + ", the extension made no further SDK call");
    const std::string call = calls_.front();
    calls_.pop_front();
    if (!sdkCallMatches(c.text, call)) failed("expected the SDK call " + c.text + ", the next SDK call was " + call);
  }

  void expectSize(const Command& c) {
    const air::Value& v = bound(c);
    if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
      const uint64_t wanted = c.hasSize ? uint64_t{c.width} * c.height * 4 : c.number;
      if ((*b)->bytes.size() != wanted)
        failed(c.name + " holds " + std::to_string((*b)->bytes.size()) + " bytes, expected " + std::to_string(wanted));
    } else if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
      if (!c.hasSize) scriptError(c, c.name + " is a BitmapData: expect size NAME W H");
      if ((*m)->width != c.width || (*m)->height != c.height)
        failed(c.name + " is " + std::to_string((*m)->width) + "x" + std::to_string((*m)->height) + ", expected " +
               std::to_string(c.width) + "x" + std::to_string(c.height));
    } else {
      failed(c.name + " is " + valueText(v, o_.rawUtf8) + ", not a ByteArray or BitmapData");
    }
  }

  void save(const Command& c) {
    const air::Value& v = bound(c);
    fs::path file(c.text);
    if (file.is_relative()) file = fs::path(o_.outDir) / file;
    std::error_code ec;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
    std::string error;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgba;
    if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
      if (!c.hasSize) scriptError(c, c.name + " is a ByteArray: save NAME W H FILE");
      const uint64_t need = uint64_t{c.width} * c.height * 4;
      if ((*b)->bytes.size() != need)
        failed(c.name + " holds " + std::to_string((*b)->bytes.size()) + " bytes, not " + std::to_string(c.width) +
               " x " + std::to_string(c.height) + " x 4 = " + std::to_string(need));
      width = c.width;
      height = c.height;
      rgba = bgraToRgba((*b)->bytes.data(), width, height);
    } else if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
      const air::Bitmap& bitmap = **m;
      if (c.hasSize && (c.width != bitmap.width || c.height != bitmap.height))
        failed(c.name + " is " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height) + ", not " +
               std::to_string(c.width) + "x" + std::to_string(c.height));
      width = bitmap.width;
      height = bitmap.height;
      rgba.resize(static_cast<size_t>(width) * height * 4);
      for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
          const uint32_t argb = bitmap.pixel(x, y);
          uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
          p[0] = static_cast<uint8_t>(argb >> 16);
          p[1] = static_cast<uint8_t>(argb >> 8);
          p[2] = static_cast<uint8_t>(argb);
          p[3] = bitmap.transparent ? static_cast<uint8_t>(argb >> 24) : 0xFF;
        }
      }
    } else {
      failed(c.name + " is " + valueText(v, o_.rawUtf8) + ", not a ByteArray or BitmapData");
    }
    if (width == 0 || height == 0) failed(c.name + " holds no picture (0 pixels)");
    if (!writePng(file.string(), width, height, rgba, &error)) throw Stop{kExitScriptError, error};
    item("saved", file.string() + " (" + std::to_string(width) + "x" + std::to_string(height) + ")");
  }

  // The context finalizer runs at the end of the script; its lines are shown.
  void finish() {
    if (context_ && !context_->disposed()) {
      say("end> finalize the context");
      beginAction();
      context_->dispose();
      endStep();
    }
    context_.reset();
    extension_.reset();
    sdk_.reset();
  }

  void finishQuietly() {
    try {
      finish();
    } catch (...) {
    }
  }

  const Options& o_;
  FILE* out_;
  std::unique_ptr<air::ConsoleCapture> console_ = std::make_unique<air::ConsoleCapture>();
  std::unique_ptr<air::Extension> extension_;
  std::unique_ptr<air::Context> context_;
  std::unique_ptr<SdkControl> sdk_;
  std::map<std::string, air::Value> vars_;
  air::Value result_;
  bool haveResult_ = false;
  std::string partial_;
  std::vector<std::string> consoleLines_;
  std::deque<air::Event> events_;
  std::deque<std::string> calls_;
  std::vector<std::string> ignoredEvents_;
  std::vector<std::string> ignoredConsole_;
  size_t ignoredConsoleCount_ = 0;
  std::map<std::string, size_t> ignoredEventCounts_;
  const Command* watch_ = nullptr;  // the event a `wait event` waits for
  bool watched_ = false;
};

}  // namespace

int runSession(const Script& script, const Options& options, FILE* out) {
  Session session(options, out);
  return session.run(script);
}

}  // namespace anehost
