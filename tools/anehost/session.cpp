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
    int failures = 0;
    int code = kExitOk;
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
        try {
          step(c);
        } catch (const Stop& stop) {
          if (stop.code == kExitFailed) {
            ++failures;
            t_.say("    FAILED line " + std::to_string(c.line) + ": " + stop.message);
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
        t_.say("    ERROR: " + stop.message);
        std::fprintf(stderr, "anehost: %s\n", stop.message.c_str());
        code = kExitScriptError;
      }
      finishQuietly();
    } catch (const std::exception& e) {
      t_.say(std::string("    ERROR: ") + e.what());
      std::fprintf(stderr, "anehost: %s\n", e.what());
      code = kExitScriptError;
      finishQuietly();
    }
    for (const std::string& miss : rules_.finish()) endMisses_.push_back(miss);
    for (const std::string& miss : endMisses_) {
      std::fprintf(stderr, "anehost: end of the run: expectation failed: %s\n", miss.c_str());
      ++failures;
      if (code == kExitOk) code = kExitFailed;
    }
#ifndef _WIN32
    win32::onTerminate(nullptr);
#endif
    if (code == kExitOk) t_.say("all expectations met");
    else if (code == kExitFailed) t_.say(std::to_string(failures) + " expectation(s) failed");
    return code;
  }

 private:
  air::Value makeValue(const Command& c, const Literal& l) {
    switch (l.kind) {
      case Literal::Kind::Null: return air::Null{};
      case Literal::Kind::Bool: return l.boolean;
      case Literal::Kind::Int: return l.int32;
      case Literal::Kind::Uint: return l.uint32;
      case Literal::Kind::Number: return l.number;
      case Literal::Kind::Text: return l.text;
      case Literal::Kind::Bytes: {
        std::string bytes, error;
        if (!contentBytes(l, o_.scriptDir, &bytes, &error)) scriptError(c, error);
        if (bytes.size() > kMaxByteArray) scriptError(c, "a ByteArray holds at most 268435456 bytes");
        auto b = std::make_shared<air::ByteArray>();
        b->bytes.assign(bytes.begin(), bytes.end());
        return b;
      }
      case Literal::Kind::Bitmap: {
        // As `new BitmapData(w, h, transparent, fill)`, in the runtime's row layout.
        std::string error;
        auto b = contentBitmap(l, o_.scriptDir, o_.invertedBitmaps, &error);
        if (!b) scriptError(c, error);
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

  const air::Value& bound(const Command& c) { return bound(c.name, c); }
  const air::Value& bound(const std::string& name, const Command& c) {
    const auto it = vars_.find(name);
    if (it == vars_.end()) scriptError(c, "'" + name + "' is not bound");
    return it->second;
  }

  void step(const Command& c) {
    t_.say(std::to_string(c.line) + "> " + c.source);
    switch (c.op) {
      case Command::Op::Option:
        if (o_.fromCommandLine.count(c.name)) t_.item("note", "the command line's --" + c.name + " applies instead");
        break;
      case Command::Op::Extension:
        host_.load(c);
        break;
      case Command::Op::NewContext:
        seen_.beginAction();
        host_.newContext(c.hasText ? c.text : "");
        break;
      case Command::Op::Finalize:
        seen_.beginAction();
        if (air::Context* context = host_.liveContext()) context->dispose();
        break;
      case Command::Op::Call:
        seen_.beginAction();
        doCall(c);
        break;
      case Command::Op::Let: {
        const air::Value v = makeValue(c, c.value);
        // What a file, a picture or a fill made is shown; a plain bytes(N) or bitmap(W, H) says it all.
        if (c.value.content != Literal::Content::None) t_.item("value", t_.value(v));
        vars_[c.bind] = v;
        break;
      }
      case Command::Op::LetReceived:
        seen_.pump(true);  // the calls that handed the buffer over come first
        vars_[c.bind] = receivedValue(host_.sdk(), c, o_, t_);
        break;
      case Command::Op::ExpectResult:
        if (!haveResult_) scriptError(c, "no call has returned yet");
        expect_.result(result_, makeValue(c, c.value));
        break;
      case Command::Op::ExpectEvent:
        expect_.event(c);
        break;
      case Command::Op::ExpectNoEvent:
        expect_.noEvent();
        break;
      case Command::Op::ExpectConsole:
        expect_.console(withExeFolder(c, o_.shownExeFolder()));
        break;
      case Command::Op::ExpectConsoleExactly:
        expect_.consoleExactly(withExeFolder(c, o_.shownExeFolder()));
        break;
      case Command::Op::ExpectNoConsole:
        expect_.noConsole();
        break;
      case Command::Op::ExpectSdk:
        expect_.sdk(withExeFolder(c, o_.shownExeFolder()), host_.sdk() != nullptr);
        break;
      case Command::Op::ExpectNoSdk:
        expect_.noSdk();
        break;
      case Command::Op::ExpectWin32:
        expect_.win32(c);
        break;
      case Command::Op::ExpectNoWin32:
        expect_.noWin32();
        break;
      case Command::Op::Library:
        host_.library(c);
        break;
      case Command::Op::ExpectSize:
        expect_.size(c, bound(c));
        break;
      case Command::Op::ExpectSameBytes:
        expect_.sameBytes(c, bound(c), bound(c.text, c));
        break;
      case Command::Op::ExpectBytes:
        expect_.bytes(c, bound(c));
        break;
      case Command::Op::ExpectPixel:
        expect_.pixel(c, bound(c));
        break;
      case Command::Op::ExpectPicture:
        expect_.picture(c, bound(c));
        break;
      case Command::Op::ExpectNoBreach:
        expect_.noBreach();
        break;
      case Command::Op::ExpectBreaches:
      case Command::Op::ExpectLateEvents:
        rules_.expect(c);
        break;
      case Command::Op::ExpectSdkLater:
        expect_.sdkLater(withExeFolder(c, o_.shownExeFolder()), host_.sdk() != nullptr);
        break;
      case Command::Op::ExpectNoSdkCall:
        expect_.noSdkCall(withExeFolder(c, o_.shownExeFolder()), host_.sdk() != nullptr);
        break;
      case Command::Op::ExpectEventSet:
        expect_.eventSet(c);
        break;
      case Command::Op::Wait:
        seen_.beginAction();
        seen_.pollUntil(static_cast<unsigned>(c.number), [] { return false; });
        break;
      case Command::Op::WaitEvent:
        // Begins the action itself: an event that arrived since the last
        // step, and is shown at this one's start, counts.
        if (!seen_.waitForEvent(c, o_.timeoutMs))
          failed("no event " + t_.q(c.name) + (c.hasText ? " " + t_.q(c.text) : "") + " arrived within " +
                 std::to_string(o_.timeoutMs) + " ms");
        break;
      case Command::Op::Sdk: {
        seen_.beginAction();
        SdkControl* sdk = host_.sdk();
        if (!sdk) scriptError(c, "this extension has no simulated SDK to command");
        std::string error;
        if (!sdk->command(c.text, &error)) scriptError(c, sdk->name() + " refused the command: " + error);
        break;
      }
      case Command::Op::Save:
        save(c);
        break;
      case Command::Op::Ignore:
        seen_.ignore(c);
        break;
      case Command::Op::Print:
        t_.item("note", c.text);
        break;
    }
    endStep();
  }

  // What the step left: the ignored lines and events counted, the breaches
  // and late events shown, and a call made that the script said would not be.
  void endStep() {
    seen_.endStep();
    rules_.show();
    const std::string miss = seen_.forbiddenCallMade();
    if (!miss.empty()) failed(miss);
  }

  void doCall(const Command& c) {
    air::Context* context = host_.liveContext();
    if (!context) scriptError(c, "no context: it was finalized ('context' makes a new one)");
    if (!context->hasFunction(c.name)) scriptError(c, "the extension has no function " + t_.q(c.name));
    std::vector<air::Value> args;
    for (const auto& l : c.args) args.push_back(makeValue(c, l));
    if (const core::ApiFunction* f = core::apiOf(context->functionData(c.name))) {
      for (const auto& warning : argumentWarnings(*f, args)) {
        t_.item("warning", warning);
        if (o_.strict) failed(warning + " (--strict)");
      }
    }
    air::Value result = context->call(c.name, args);
    seen_.pumpOutput(true);
    t_.item("result", t_.value(result));
    haveResult_ = true;
    result_ = result;
    if (!c.bind.empty()) vars_[c.bind] = result;
  }

  void save(const Command& c) {
    const air::Value& v = bound(c);
    fs::path file(c.text);
    if (file.is_relative()) file = fs::path(o_.outDir) / file;
    std::error_code ec;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
    std::string error;
    Picture picture;
    if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
      if (!c.hasSize && file.extension() != ".png") {
        saveBytes(file, (*b)->bytes);
        return;
      }
      if (!c.hasSize) scriptError(c, c.name + " is a ByteArray: save NAME W H FILE.png, or NAME FILE for its bytes");
      // A length that does not fit is written all the same, so a frame cut
      // short (or one of an odd byte length) can be looked at.
      const uint64_t need = uint64_t{c.width} * c.height * 4, have = (*b)->bytes.size();
      if (have != need)
        t_.item("warning", c.name + " holds " + std::to_string(have) + " bytes, not " + std::to_string(c.width) + " x " +
                               std::to_string(c.height) + " x 4 = " + std::to_string(need) +
                               (have < need ? ": the missing bytes are transparent black" : ": the bytes past it are left out"));
      picture = pictureOfBytes((*b)->bytes, c.width, c.height);
    } else if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
      const air::Bitmap& bitmap = **m;
      if (c.hasSize && (c.width != bitmap.width || c.height != bitmap.height))
        failed(c.name + " is " + std::to_string(bitmap.width) + "x" + std::to_string(bitmap.height) + ", not " +
               std::to_string(c.width) + "x" + std::to_string(c.height));
      picture = pictureOfBitmap(bitmap);
    } else {
      failed(c.name + " is " + t_.value(v) + ", not a ByteArray or BitmapData");
    }
    if (picture.width == 0 || picture.height == 0) failed(c.name + " holds no picture (0 pixels)");
    if (!writePng(file.string(), picture.width, picture.height, picture.rgba, &error))
      throw Stop{kExitScriptError, error};
    t_.item("saved", file.string() + " (" + std::to_string(picture.width) + "x" + std::to_string(picture.height) + ")");
  }

  // A ByteArray's bytes as they are.
  void saveBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(file.string().c_str(), "wb");
    const bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) f = nullptr;
    if (!written || !f) throw Stop{kExitScriptError, "cannot write " + file.string()};
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
