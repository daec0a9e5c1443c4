// The commands of a session script, step by step: each line is shown, run,
// and followed by what it made the extension show.
#include "session.h"

#include <filesystem>
#include <map>
#include <memory>
#include <variant>

#include "contents.h"
#include "expectations.h"
#include "extension_host.h"
#include "observer.h"
#include "picture.h"
#include "placeholders.h"
#include "received.h"
#include "rules.h"
#include "script_line.h"
#include "signatures.h"
#include "transcript.h"

#ifndef _WIN32
#include "win32_standin.h"
#endif

namespace anehost {
namespace {

namespace fs = std::filesystem;

class Session {
 public:
  Session(const Options& options, FILE* out)
      : o_(options), t_(out, options.rawUtf8), seen_(t_, host_), host_(o_, t_), expect_(o_, t_, seen_) {}

  int run(const Script& script) {
#ifndef _WIN32
    // An extension that ends the process (killProcess) ends the run: what it
    // showed until then is written out first.
    const Command* current = nullptr;
    win32::onTerminate([&](UINT exitCode) {
      seen_.pumpOutput(true);
      t_.say("    ended    the process ended itself with exit code " + std::to_string(exitCode) +
             (current ? " at line " + std::to_string(current->line) : "") + "; the script stops here");
    });
#endif
    try {
      for (const Command& c : script.commands) {
#ifndef _WIN32
        current = &c;
#endif
        runLine(c);
      }
      finish();
    } catch (const Stop& stop) {
      if (stop.code == kExitScriptError) scriptStopped(stop.message);
      finishQuietly();
    } catch (const std::exception& e) {
      scriptStopped(e.what());
      finishQuietly();
    }
    for (const std::string& miss : rules_.finish()) endMisses_.push_back(miss);
    for (const std::string& miss : endMisses_) {
      std::fprintf(stderr, "anehost: end of the run: expectation failed: %s\n", miss.c_str());
      ++failures_;
      if (code_ == kExitOk) code_ = kExitFailed;
    }
#ifndef _WIN32
    win32::onTerminate(nullptr);
#endif
    if (code_ == kExitOk) t_.say("all expectations met");
    else if (code_ == kExitFailed) t_.say(std::to_string(failures_) + " expectation(s) failed");
    return code_;
  }

 private:
  air::Value makeValue(int line, const Literal& l) {
    switch (l.kind) {
      case Literal::Kind::Null: return air::Null{};
      case Literal::Kind::Bool: return l.boolean;
      case Literal::Kind::Int: return l.int32;
      case Literal::Kind::Uint: return l.uint32;
      case Literal::Kind::Number: return l.number;
      case Literal::Kind::Text: return l.text;
      case Literal::Kind::Bytes: {
        std::string bytes, error;
        if (!contentBytes(l, o_.scriptDir, &bytes, &error)) scriptError(line, error);
        if (bytes.size() > kMaxByteArray) scriptError(line, "a ByteArray holds at most 268435456 bytes");
        auto b = std::make_shared<air::ByteArray>();
        b->bytes.assign(bytes.begin(), bytes.end());
        return b;
      }
      case Literal::Kind::Bitmap: {
        // As `new BitmapData(w, h, transparent, fill)`, in the runtime's row layout.
        std::string error;
        auto b = contentBitmap(l, o_.scriptDir, o_.invertedBitmaps, &error);
        if (!b) scriptError(line, error);
        return b;
      }
      case Literal::Kind::Name: return bound(line, l.text);
    }
    return air::Null{};
  }

  const air::Value& bound(int line, const std::string& name) {
    const auto it = vars_.find(name);
    if (it == vars_.end()) scriptError(line, "'" + name + "' is not bound");
    return it->second;
  }

  std::string withExe(const std::string& text) const { return withExeFolder(text, o_.shownExeFolder()); }

  // One line of the script: shown, run, and its step ended. A failed
  // expectation ends the run, unless it is to keep going: then the step
  // still ends under its own line (what it left is shown there, and a call
  // forbidden until the end of this step is forbidden no longer).
  void runLine(const Command& c) {
    t_.say(std::to_string(c.line) + "> " + c.source);
    counted(c.line, [&] { std::visit([&](const auto& action) { perform(c.line, action); }, c.action); });
    counted(c.line, [&] { endStep(); });
  }

  // Runs part; its failed expectation is shown and counted, and thrown on
  // unless the run keeps going.
  template <typename Part>
  void counted(int line, Part part) {
    try {
      part();
    } catch (const Stop& stop) {
      if (stop.code != kExitFailed) throw;
      ++failures_;
      t_.say("    FAILED line " + std::to_string(line) + ": " + stop.message);
      std::fprintf(stderr, "anehost: line %d: expectation failed: %s\n", line, stop.message.c_str());
      code_ = kExitFailed;
      if (!o_.keepGoing) throw;
    }
  }

  void scriptStopped(const std::string& message) {
    t_.say("    ERROR: " + message);
    std::fprintf(stderr, "anehost: %s\n", message.c_str());
    code_ = kExitScriptError;
  }

  // Each command, on the line it was written on.
  void perform(int, const cmd::Option& c) {
    if (o_.fromCommandLine.count(c.name)) t_.item("note", "the command line's --" + c.name + " applies instead");
  }
  void perform(int line, const cmd::Extension& c) { host_.load(line, c); }
  void perform(int, const cmd::NewContext& c) {
    seen_.beginAction();
    host_.newContext(c.contextType);
  }
  void perform(int, const cmd::Finalize&) {
    seen_.beginAction();
    if (air::Context* context = host_.liveContext()) context->dispose();
  }
  void perform(int line, const cmd::Call& c) {
    seen_.beginAction();
    doCall(line, c);
  }
  void perform(int line, const cmd::Let& c) {
    const air::Value v = makeValue(line, c.value);
    // What a file, a picture or a fill made is shown; a plain bytes(N) or bitmap(W, H) says it all.
    if (c.value.content != Literal::Content::None) t_.item("value", t_.value(v));
    vars_[c.name] = v;
  }
  void perform(int line, const cmd::LetReceived& c) {
    seen_.pump(true);  // the calls that handed the buffer over come first
    vars_[c.name] = receivedValue(host_.sdk(), line, c, o_, t_);
  }
  void perform(int line, const cmd::ExpectResult& c) {
    if (!haveResult_) scriptError(line, "no call has returned yet");
    expect_.result(result_, makeValue(line, c.value));
  }
  void perform(int, const cmd::ExpectEvent& c) { expect_.event(c.event); }
  void perform(int, const cmd::ExpectEventSet& c) { expect_.eventSet(c.events); }
  void perform(int, const cmd::ExpectNothing& c) {
    switch (c.of) {
      case cmd::ExpectNothing::Of::Event: return expect_.noEvent();
      case cmd::ExpectNothing::Of::Console: return expect_.noConsole();
      case cmd::ExpectNothing::Of::Sdk: return expect_.noSdk();
      case cmd::ExpectNothing::Of::Win32: return expect_.noWin32();
      case cmd::ExpectNothing::Of::Breach: return expect_.noBreach();
    }
  }
  void perform(int, const cmd::ExpectConsole& c) { expect_.console({c.match, withExe(c.text)}); }
  void perform(int line, const cmd::ExpectSdk& c) {
    if (!host_.sdk()) scriptError(line, "this extension has no simulated SDK");
    expect_.sdk(line, {c.when, withExe(c.call)});
  }
  void perform(int, const cmd::ExpectWin32& c) { expect_.win32(c.call); }
  void perform(int line, const cmd::ExpectSize& c) { expect_.size(line, c, bound(line, c.name)); }
  void perform(int line, const cmd::ExpectBytes& c) { expect_.bytes(line, c, bound(line, c.name)); }
  void perform(int line, const cmd::ExpectSameBytes& c) {
    expect_.sameBytes(c, bound(line, c.name), bound(line, c.other));
  }
  void perform(int line, const cmd::ExpectPixel& c) { expect_.pixel(line, c, bound(line, c.name)); }
  void perform(int line, const cmd::ExpectPicture& c) { expect_.picture(line, c, bound(line, c.name)); }
  void perform(int line, const cmd::ExpectCount& c) { rules_.expect(line, c); }
  void perform(int, const cmd::Wait& c) {
    seen_.beginAction();
    seen_.pollUntil(static_cast<unsigned>(c.ms), [] { return false; });
  }
  void perform(int, const cmd::WaitEvent& c) {
    // Begins the action itself: an event that arrived since the last
    // step, and is shown at this one's start, counts.
    const EventPattern& e = c.event;
    if (!seen_.waitForEvent(e, o_.timeoutMs))
      failed("no event " + t_.q(e.code) + (e.hasLevel ? " " + t_.q(e.level) : "") + " arrived within " +
             std::to_string(o_.timeoutMs) + " ms");
  }
  void perform(int line, const cmd::Sdk& c) {
    seen_.beginAction();
    SdkControl* sdk = host_.sdk();
    if (!sdk) scriptError(line, "this extension has no simulated SDK to command");
    std::string error;
    if (!sdk->command(c.command, &error)) scriptError(line, sdk->name() + " refused the command: " + error);
  }
  void perform(int line, const cmd::Save& c) { save(line, c); }
  void perform(int, const cmd::Ignore& c) { seen_.ignore(c); }
  void perform(int, const cmd::Print& c) { t_.item("note", c.text); }
  void perform(int line, const cmd::Library& c) { host_.library(line, c); }

  // What the step left: the ignored lines and events counted, the breaches
  // and late events shown, and a call made that the script said would not be.
  void endStep() {
    seen_.endStep();
    rules_.show();
    const std::string miss = seen_.forbiddenCallMade();
    if (!miss.empty()) failed(miss);
  }

  void doCall(int line, const cmd::Call& c) {
    air::Context* context = host_.liveContext();
    if (!context) scriptError(line, "no context: it was finalized ('context' makes a new one)");
    if (!context->hasFunction(c.function)) scriptError(line, "the extension has no function " + t_.q(c.function));
    std::vector<air::Value> args;
    for (const auto& l : c.args) args.push_back(makeValue(line, l));
    if (const core::ApiFunction* f = core::apiOf(context->functionData(c.function))) {
      for (const auto& warning : argumentWarnings(*f, args)) {
        t_.item("warning", warning);
        if (o_.strict) failed(warning + " (--strict)");
      }
    }
    air::Value result = context->call(c.function, args);
    seen_.pumpOutput(true);
    t_.item("result", t_.value(result));
    haveResult_ = true;
    result_ = result;
    if (!c.bind.empty()) vars_[c.bind] = result;
  }

  void save(int line, const cmd::Save& c) {
    const air::Value& v = bound(line, c.name);
    fs::path file(c.file);
    if (file.is_relative()) file = fs::path(o_.outDir) / file;
    std::error_code ec;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
    Picture picture;
    if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
      if (!c.size.given && file.extension() != ".png") return saveBytes(line, file, (*b)->bytes);
      if (!c.size.given) scriptError(line, c.name + " is a ByteArray: save NAME W H FILE.png, or NAME FILE for its bytes");
      picture = pictureOfFrame(c, (*b)->bytes);
    } else if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
      const air::Bitmap& bitmap = **m;
      if (c.size.given && (c.size.width != bitmap.width || c.size.height != bitmap.height))
        failed(c.name + " is " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height) + ", not " +
               std::to_string(c.size.width) + "x" + std::to_string(c.size.height));
      picture = pictureOfBitmap(bitmap);
    } else {
      failed(c.name + " is " + t_.value(v) + ", not a ByteArray or BitmapData");
    }
    if (picture.width == 0 || picture.height == 0) failed(c.name + " holds no picture (0 pixels)");
    std::string error;
    if (!writePng(file.string(), picture.width, picture.height, picture.rgba, &error)) scriptError(line, error);
    t_.item("saved", file.string() + " (" + std::to_string(picture.width) + "x" + std::to_string(picture.height) + ")");
  }

  // A ByteArray's bytes as a W x H frame. A length that does not fit is
  // written all the same, so a frame cut short (or one of an odd byte
  // length) can be looked at.
  Picture pictureOfFrame(const cmd::Save& c, const std::vector<uint8_t>& bytes) {
    const uint32_t w = c.size.width, h = c.size.height;
    const uint64_t need = uint64_t{w} * h * 4, have = bytes.size();
    if (have != need)
      t_.item("warning", c.name + " holds " + std::to_string(have) + " bytes, not " + std::to_string(w) + " x " +
                             std::to_string(h) + " x 4 = " + std::to_string(need) +
                             (have < need ? ": the missing bytes are transparent black" : ": the bytes past it are left out"));
    return pictureOfBytes(bytes, w, h);
  }

  // A ByteArray's bytes as they are.
  void saveBytes(int line, const fs::path& file, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(file.string().c_str(), "wb");
    const bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) f = nullptr;
    if (!written || !f) scriptError(line, "cannot write " + file.string());
    t_.item("saved", file.string() + " (" + std::to_string(bytes.size()) + " bytes)");
  }

  // The context finalizer runs at the end of the script; its lines are shown.
  void finish() {
    if (air::Context* context = host_.liveContext()) {
      t_.say("end> finalize the context");
      seen_.beginAction();
      context->dispose();
      seen_.endStep();
      rules_.show();
      const std::string miss = seen_.forbiddenCallMade();
      if (!miss.empty()) {
        t_.say("    FAILED end: " + miss);
        endMisses_.push_back(miss);
      }
    }
    host_.unload();
    rules_.show();
  }

  void finishQuietly() {
    try {
      finish();
    } catch (...) {
    }
  }

  const Options& o_;
  Transcript t_;
  Observer seen_;  // before host_: the console capture outlives the extension
  ExtensionHost host_;
  Expectations expect_;
  RuleWatch rules_{t_};
  std::vector<std::string> endMisses_;  // what failed once the script's lines had run
  int failures_ = 0;
  int code_ = kExitOk;
  std::map<std::string, air::Value> vars_;
  air::Value result_;
  bool haveResult_ = false;
};

}  // namespace

int runSession(const Script& script, const Options& options, FILE* out) {
  Session session(options, out);
  return session.run(script);
}

}  // namespace anehost
