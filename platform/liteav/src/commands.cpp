// The stand-in's text command language (one command a line, see
// docs/standin-liteav.md): the words of a line, the scripted answers, screen sources,
// and the dispatch to frames, notifications and the simulated room.
#include <cerrno>
#include <cstdlib>

#include "commands.h"
#include "standin_common/tokens.h"

namespace liteav_standin {
namespace {

bool lex(const std::string& line, std::vector<Token>* out, std::string* error) {
  const standin_common::Tokens tokens =
      standin_common::tokenize(line, standin_common::Grammar().withMarks("=,").withLongHex().withComment('#'));
  for (const auto& [first, last] : tokens.words()) {
    Token t;
    std::string cur;
    bool curQuoted = false, any = false;
    for (size_t k = first; k < last; ++k) {
      const standin_common::Token& piece = tokens.tokens[k];
      if (piece.kind == standin_common::Token::Kind::Quoted) {
        std::string bytes;
        const auto fault = standin_common::unescape(piece.text, standin_common::Escapes::Loose, &bytes);
        if (fault == standin_common::EscapeError::ShortHex) {
          *error = "bad \\x escape";
          return false;
        }
        if (!piece.closed || fault != standin_common::EscapeError::None) {
          *error = "unterminated text";
          return false;
        }
        cur += bytes;
        curQuoted = any = true;
      } else if (piece.text == "=" && piece.kind == standin_common::Token::Kind::Mark && t.key.empty() &&
                 !curQuoted && t.values.empty()) {
        t.key = cur;
        cur.clear();
        any = false;
      } else if (piece.text == "," && piece.kind == standin_common::Token::Kind::Mark && !t.key.empty()) {
        t.values.push_back(cur);
        if (t.values.size() == 1) t.quoted = curQuoted;
        cur.clear();
        curQuoted = any = false;
      } else {
        cur += piece.text;
        any = true;
      }
    }
    if (any || !cur.empty() || curQuoted || t.values.empty()) {
      t.values.push_back(cur);
      if (t.values.size() == 1) t.quoted = curQuoted;
    }
    out->push_back(std::move(t));
  }
  return true;
}

bool answerCommand(Words& w, bool raise) {
  std::string op;
  if (!w.text(0, &op, "an operation name")) return false;
  auto a = std::make_shared<Answer>();
#if defined(_WIN32)
  // With mingw's static runtime every DLL unwinds only its own frames: an
  // exception thrown here would end the process instead of reaching the caller.
  if (raise) return w.fail("throw: not available in the Windows build (exceptions do not cross these DLLs)");
#endif
  if (raise) {
    a->raise = true;
    a->message = w.positional.size() > 1 ? w.positional[1].text() : "stand-in: " + op + " failed";
  } else {
    for (size_t i = 1; i < w.positional.size(); ++i) {
      if (w.positional[i].text() == "null" && !w.positional[i].quoted)
        a->null = true;
      else
        return w.fail("unexpected word " + w.positional[i].text());
    }
    for (auto& [key, tok] : w.keyed) {
      if (key == "code" || key == "value") {
        if (!toInt(tok.text(), &a->code)) return w.fail(key + "= expects a number");
        a->hasCode = true;
      } else if (key == "text" || key == "name") {
        a->hasText = true;
        a->text = tok.text();
      } else if (key == "list") {
        a->hasList = true;
        a->list = tok.values;
        if (a->list.size() == 1 && a->list[0].empty() && !tok.quoted) a->list.clear();
      } else if (key == "ids") {
        a->ids = tok.values;
      } else if (key == "count") {
        if (!toInt(tok.text(), &a->count)) return w.fail("count= expects a number");
        a->hasCount = true;
      } else {
        return w.fail("unknown answer field " + key);
      }
    }
  }
  State& s = State::get();
  std::lock_guard<std::mutex> lock(s.mutex);
  s.answers[op] = a;
  return true;
}

}  // namespace

bool toInt(const std::string& s, int64_t* v) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long x = std::strtoll(s.c_str(), &end, 0);
  if (*end || errno) return false;
  *v = x;
  return true;
}

bool toSize(const std::string& s, uint32_t* w, uint32_t* h) {
  size_t x = s.find('x');
  if (x == std::string::npos) return false;
  int64_t a, b;
  if (!toInt(s.substr(0, x), &a) || !toInt(s.substr(x + 1), &b) || a < 0 || b < 0 || a > 0xffffffffLL ||
      b > 0xffffffffLL)
    return false;
  *w = uint32_t(a);
  *h = uint32_t(b);
  return true;
}

bool boolWord(Words& w, size_t i, bool* v) {
  int64_t x;
  if (!w.integer(i, &x, "0 or 1")) return false;
  *v = x != 0;
  return true;
}

bool command(const std::string& line, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  error->clear();
  std::vector<Token> tokens;
  if (!lex(line, &tokens, error)) return false;
  if (tokens.empty()) return true;
  bool wait = true, late = false;
  std::string hold;  // `hold NAME`: the delivery waits before its call
  size_t first = 0;
  for (; first < tokens.size() && tokens[first].key.empty(); ++first) {
    if (tokens[first].text() == "async" && wait) {
      wait = false;
    } else if (tokens[first].text() == "late" && !late) {
      late = true;
    } else if (tokens[first].text() == "hold" && hold.empty()) {
      if (first + 1 >= tokens.size() || !tokens[first + 1].key.empty() || tokens[first + 1].text().empty()) {
        *error = "hold: expected a name";
        return false;
      }
      hold = tokens[++first].text();
    } else {
      break;
    }
  }
  if (first >= tokens.size()) {
    *error = std::string(!hold.empty() ? "hold" : late ? "late" : "async") + ": expected a command";
    return false;
  }
  if ((late || !hold.empty()) && tokens[first].text() != "frame" && tokens[first].key.empty()) {
    // Late or held: frames and the cloud's notifications only.
    static const char* const others[] = {"reset", "answer", "throw", "clear", "sources", "source", "folder",
                                         "audio-frame", "pusher", "vod", "room", "release", "local-id"};
    const std::string how = !hold.empty() ? "be held" : "come late";
    for (const char* verb : others)
      if (tokens[first].text() == verb) {
        *error = std::string(!hold.empty() ? "hold: " : "late: ") + verb + " cannot " + how +
                 " (frames and cloud notifications can)";
        return false;
      }
  }
  const std::string verb = tokens[first].key.empty() ? tokens[first].text() : std::string();
  Words w;
  w.error = error;
  w.late = late;
  w.hold = hold;
  for (size_t i = first + 1; i < tokens.size(); ++i) {
    if (tokens[i].key.empty())
      w.positional.push_back(tokens[i]);
    else
      w.keyed[tokens[i].key] = tokens[i];
  }
  State& s = State::get();
  if (verb == "reset") {
    roomStop();
    holdReleaseAll();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.resetLocked();
    s.previewOn = s.screenOn = false;
    s.volumeInterval = 0;
    s.localIdInFrames = false;
    return true;
  }
  if (verb == "release") {
    std::string name;
    if (!w.text(0, &name, "the name of a held delivery")) return false;
    return holdRelease(name, error);
  }
  if (verb == "local-id") {
    std::string what;
    if (!w.text(0, &what, "on or off") || (what != "on" && what != "off")) return w.fail("local-id: expected on or off");
    std::lock_guard<std::mutex> lock(s.mutex);
    s.localIdInFrames = what == "on";
    return true;
  }
  if (verb == "answer") return answerCommand(w, false);
  if (verb == "throw") return answerCommand(w, true);
  if (verb == "clear") {
    std::string op;
    if (!w.text(0, &op, "an operation name")) return false;
    std::lock_guard<std::mutex> lock(s.mutex);
    s.answers.erase(op);
    return true;
  }
  if (verb == "sources") {
    std::string what;
    if (!w.text(0, &what, "clear") || what != "clear") return w.fail("sources: expected clear");
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sources.clear();
    return true;
  }
  if (verb == "source") {
    Source src;
    int64_t id, type;
    if (!w.integer(0, &id, "a source id") || !w.integer(1, &type, "a type") || !w.text(2, &src.name, "a name"))
      return false;
    src.id = int32_t(id);
    src.type = int32_t(type);
    if (w.has("thumb")) {
      uint32_t tw, th;
      if (!toSize(w.keyed["thumb"].text(), &tw, &th)) return w.fail("thumb= expects WIDTHxHEIGHT");
      src.thumbWidth = int32_t(tw);
      src.thumbHeight = int32_t(th);
    }
    if (!w.keyInt("thumb-length", &src.thumbLength, -1)) return false;
    if (src.thumbLength > (int64_t(1) << 30)) return w.fail("thumb-length: too large for the stand-in");
    for (size_t i = 3; i < w.positional.size(); ++i) {
      if (w.positional[i].text() == "no-thumb")
        src.noThumb = true;
      else
        return w.fail("unexpected word " + w.positional[i].text());
    }
    std::lock_guard<std::mutex> lock(s.mutex);
    s.sources.push_back(src);
    return true;
  }
  if (verb == "frame") {
    std::string where;
    if (!w.text(0, &where, "local or remote")) return false;
    if (where != "local" && where != "remote") return w.fail("frame: expected local or remote");
    FrameSpec f;
    f.local = where == "local";
    if (!parseFrame(w, 1, &f)) return false;
    return runFrame(f, wait, error);
  }
  if (verb == "folder") {
    std::string folder;
    if (!w.text(0, &folder, "a folder")) return false;
    standin_common::setFileFolder(folder);
    return true;
  }
  if (verb == "audio-frame") return audioFrameCommand(w, wait);
  if (verb == "pusher") return pusherCommand(w, wait);
  if (verb == "vod") return vodCommand(w, wait);
  if (verb == "room") {
    std::string what;
    if (!w.text(0, &what, "start or stop")) return false;
    if (what == "start") {
      roomStart();
      return true;
    }
    if (what == "stop") {
      roomStop();
      return true;
    }
    return w.fail("room: expected start or stop");
  }
  bool known = false;
  const bool ok = cloudCommand(verb, w, wait, &known);
  if (!known) *error = "unknown command " + verb;
  return ok;
}

}  // namespace liteav_standin
