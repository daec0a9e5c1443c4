// The stand-in's text command language (docs/standin-ilive.md).
#include <cctype>
#include <cstdlib>
#include <map>
#include <mutex>

#include "command_words.h"
#include "standin_common/frame_content.h"
#include "standin_common/tokens.h"
#include "state.h"

namespace ilive::standin {

bool fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool split(const std::string& line, std::vector<std::string>* words, std::string* error) {
  const standin_common::Tokens tokens =
      standin_common::tokenize(line, standin_common::Grammar().withBlanks(" \t\n\v\f\r"));
  if (tokens.unclosed()) return fail(error, "unterminated text: " + line);
  for (const auto& [first, last] : tokens.words())
    words->push_back(standin_common::spanText(line, tokens.tokens[first], tokens.tokens[last - 1]));
  return true;
}

bool unquote(const std::string& s, std::string* out, std::string* error) {
  if (s.empty() || s[0] != '"') {
    *out = s;
    return true;
  }
  if (s.size() < 2 || s.back() != '"') return fail(error, "bad text: " + s);
  switch (standin_common::unescape(s.substr(1, s.size() - 2), standin_common::Escapes::Loose, out)) {
    case standin_common::EscapeError::None: return true;
    case standin_common::EscapeError::ShortHex: return fail(error, "bad \\x escape in " + s);
    default: return fail(error, "bad escape in " + s);
  }
}

bool textList(const std::string& s, std::vector<std::string>* out, std::string* error) {
  std::vector<std::string> parts;
  std::string cur;
  for (const standin_common::Token& t :
       standin_common::tokenize(s, standin_common::Grammar().withBlanks("").withMarks(",")).tokens) {
    if (t.kind == standin_common::Token::Kind::Mark) {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += s.substr(t.begin, t.end - t.begin);
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  for (const auto& p : parts) {
    std::string t;
    if (!unquote(p, &t, error)) return false;
    out->push_back(t);
  }
  return true;
}

bool number(const std::string& s, int64_t* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  *out = std::strtoll(s.c_str(), &end, 0);
  return end && *end == '\0';
}

bool numberList(const std::string& s, std::vector<int64_t>* out) {
  size_t start = 0;
  while (start <= s.size()) {
    const size_t comma = s.find(',', start);
    int64_t v;
    if (!number(s.substr(start, comma == std::string::npos ? std::string::npos : comma - start), &v)) return false;
    out->push_back(v);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

bool options(const std::vector<std::string>& words, size_t from, std::map<std::string, std::string>* opts,
             std::vector<std::string>* rest) {
  for (size_t i = from; i < words.size(); ++i) {
    const size_t eq = words[i].find('=');
    if (eq != std::string::npos && words[i][0] != '"')
      (*opts)[words[i].substr(0, eq)] = words[i].substr(eq + 1);
    else
      rest->push_back(words[i]);
  }
  return true;
}

bool intOption(const std::map<std::string, std::string>& opts, const char* key, int64_t* out, std::string* error) {
  auto it = opts.find(key);
  if (it == opts.end()) return true;
  if (!number(it->second, out)) return fail(error, std::string("bad number for ") + key + ": " + it->second);
  return true;
}

bool needHandler(bool delivered, const char* what, std::string* error) {
  return delivered || fail(error, std::string("no ") + what + " handler is installed");
}

namespace {

std::map<std::string, Verb>& verbs();

bool result(const std::string& op, const std::vector<std::string>& w, std::string* error) {
  if (w.size() < 2 || (w[1] != "ok" && w[1] != "error")) return fail(error, w[0] + " needs ok or error");
  int64_t code = w[1] == "ok" ? 0 : -1;
  std::string message;
  if (w.size() > 2 && !number(w[2], &code)) return fail(error, "bad code: " + w[2]);
  if (w.size() > 3 && !unquote(w[3], &message, error)) return false;
  if (!complete(op, w[1] == "ok", static_cast<int32_t>(code), message))
    return fail(error, "no pending " + op + " to complete");
  return true;
}

std::string lastOf(std::initializer_list<const char*> ops) {
  // The operation of the list that has pending handlers (the most recent call wins
  // because each call replaces the entry of its own operation; for a pair such as
  // createRoom/joinRoom the one called last is remembered by lastRoomOp).
  State& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  for (const char* op : ops)
    if (s.pending.count(op)) return op;
  return *ops.begin();
}

std::string& lastRoomOp() {
  static std::string op = "createRoom";
  return op;
}

void addBuiltins(std::map<std::string, Verb>& v) {
  v["reset"] = [](const std::vector<std::string>&, std::string*) {
    reset();
    return true;
  };
  v["answer"] = [](const std::vector<std::string>& w, std::string* error) {
    if (w.size() < 2) return fail(error, "answer needs an operation");
    std::map<std::string, std::string> opts;
    std::vector<std::string> rest;
    options(w, 2, &opts, &rest);
    if (!rest.empty()) return fail(error, "answer: unexpected " + rest[0]);
    Answer a;
    for (const auto& [key, value] : opts) {
      if (key == "code") {
        int64_t c;
        if (!number(value, &c)) return fail(error, "bad code: " + value);
        a.code = c;
      } else if (key == "text") {
        std::string t;
        if (!unquote(value, &t, error)) return false;
        a.text = t;
      } else if (key == "list") {
        if (!textList(value, &a.names, error)) return false;
      } else if (key == "ids") {
        if (!textList(value, &a.ids, error)) return false;
      } else if (key == "values") {
        if (!numberList(value, &a.values)) return fail(error, "bad values: " + value);
      } else {
        return fail(error, "answer: unknown option " + key);
      }
    }
    setAnswer(w[1], a);
    return true;
  };
  v["throw"] = [](const std::vector<std::string>& w, std::string* error) {
    if (w.size() != 2) return fail(error, "throw needs one operation");
    Answer a;
    a.throws = true;
    setAnswer(w[1], a);
    return true;
  };
  v["clear"] = [](const std::vector<std::string>& w, std::string* error) {
    if (w.size() != 2) return fail(error, "clear needs one operation");
    clearAnswer(w[1]);
    return true;
  };
  v["auto-complete"] = [](const std::vector<std::string>& w, std::string* error) {
    if (w.size() != 2 || (w[1] != "on" && w[1] != "off")) return fail(error, "auto-complete on|off");
    setAutoComplete(w[1] == "on");
    return true;
  };
  v["complete"] = [](const std::vector<std::string>& w, std::string* error) {
    if (w.size() < 3) return fail(error, "complete OPERATION ok|error [CODE [\"MESSAGE\"]]");
    std::vector<std::string> rest(w.begin() + 1, w.end());
    rest[0] = "complete";
    return result(w[1], rest, error);
  };
  v["login-result"] = [](const std::vector<std::string>& w, std::string* error) {
    return result(lastOf({"login", "loginWithSpear"}), w, error);
  };
  v["logout-result"] = [](const std::vector<std::string>& w, std::string* error) { return result("logout", w, error); };
  v["room-result"] = [](const std::vector<std::string>& w, std::string* error) {
    return result(lastRoomOp(), w, error);
  };
  v["role-result"] = [](const std::vector<std::string>& w, std::string* error) {
    return result("changeRole", w, error);
  };
  v["quit-result"] = [](const std::vector<std::string>& w, std::string* error) { return result("quitRoom", w, error); };
  v["member"] = [](const std::vector<std::string>& w, std::string* error) {
    int64_t event = 0;
    if (w.size() < 2 || !number(w[1], &event)) return fail(error, "member EVENT \"user\"...");
    std::vector<std::string> users;
    for (size_t i = 2; i < w.size(); ++i) {
      std::string u;
      if (!unquote(w[i], &u, error)) return false;
      users.push_back(u);
    }
    return needHandler(memberEvent(static_cast<int32_t>(event), users), "member-event", error);
  };
  v["device-op"] = [](const std::vector<std::string>& w, std::string* error) {
    int64_t op = 0, res = 0;
    if (w.size() != 3 || !number(w[1], &op) || !number(w[2], &res)) return fail(error, "device-op CODE RESULT");
    return needHandler(deviceOperation(static_cast<int32_t>(op), static_cast<int32_t>(res)), "device-operation",
                       error);
  };
  v["device-detect"] = [](const std::vector<std::string>&, std::string* error) {
    return needHandler(deviceDetect(), "device-detect", error);
  };
  v["disconnect"] = [](const std::vector<std::string>& w, std::string* error) {
    int64_t reason = 0;
    std::string message;
    if (w.size() > 1 && !number(w[1], &reason)) return fail(error, "disconnect [REASON [\"MESSAGE\"]]");
    if (w.size() > 2 && !unquote(w[2], &message, error)) return false;
    return needHandler(roomDisconnect(static_cast<int32_t>(reason), message), "room-disconnect", error);
  };
  v["force-offline"] = [](const std::vector<std::string>&, std::string* error) {
    return needHandler(forceOffline(), "force-offline", error);
  };
  v["network-notice"] = [](const std::vector<std::string>&, std::string* error) {
    return needHandler(networkNotice(), "network-notice", error);
  };
  v["record-error"] = [](const std::vector<std::string>& w, std::string* error) {
    int64_t code = 0;
    std::string message;
    if (w.size() != 3 || !number(w[1], &code) || !unquote(w[2], &message, error))
      return fail(error, "record-error CODE \"MESSAGE\"");
    return needHandler(recordError(static_cast<int32_t>(code), message), "local-record", error);
  };
  v["recorded"] = [](const std::vector<std::string>& w, std::string* error) {
    std::string path;
    if (w.size() != 2 || !unquote(w[1], &path, error)) return fail(error, "recorded \"PATH\"");
    return needHandler(recorded(0, 0, 0, path), "local-record", error);
  };
  addMediaVerbs(v);
  v["folder"] = [](const std::vector<std::string>& w, std::string* error) {
    std::string folder;
    if (w.size() != 2 || !unquote(w[1], &folder, error)) return fail(error, "folder \"DIR\"");
    standin_common::setFileFolder(folder);
    return true;
  };
  v["room"] = [](const std::vector<std::string>& w, std::string* error) {
    if (w.size() != 2 || (w[1] != "start" && w[1] != "stop")) return fail(error, "room start|stop");
    if (w[1] == "start")
      startRoom();
    else
      stopRoom();
    return true;
  };
}

std::mutex& verbsMutex() {
  static std::mutex m;
  return m;
}

std::map<std::string, Verb>& verbs() {
  static std::map<std::string, Verb>* v = [] {
    auto* m = new std::map<std::string, Verb>;
    addBuiltins(*m);
    return m;
  }();
  return *v;
}

}  // namespace

void noteRoomOperation(const std::string& op) {
  std::lock_guard<std::mutex> lock(verbsMutex());
  lastRoomOp() = op;
}

void addVerb(const std::string& verb, Verb fn) {
  std::lock_guard<std::mutex> lock(verbsMutex());
  verbs()[verb] = std::move(fn);
}

bool command(const std::string& line, std::string* error) {
  std::vector<std::string> words;
  if (!split(line, &words, error)) return false;
  if (words.empty()) return true;
  if (words[0] == "sdk") words.erase(words.begin());  // the host tool's prefix may be passed along
  // `late COMMAND`: to the handlers a completed releaseSdk let go of.
  const bool late = !words.empty() && words[0] == "late";
  if (late) {
    words.erase(words.begin());
    // Completions already queued (an auto-completed release among them) run
    // first: a late callback comes after what the SDK had already sent.
    runOnSdkThread([] {});
  }
  if (words.empty()) return fail(error, late ? "late: expected a command" : "empty sdk command");
  struct LateScope {
    explicit LateScope(bool on) { lateDelivery() = on; }
    ~LateScope() { lateDelivery() = false; }
  } scope(late);
  Verb fn;
  {
    std::lock_guard<std::mutex> lock(verbsMutex());
    auto it = verbs().find(words[0]);
    if (it == verbs().end()) return fail(error, "unknown sdk command: " + words[0]);
    fn = it->second;
  }
  try {
    return fn(words, error);
  } catch (const std::exception& e) {
    return fail(error, std::string("sdk command failed: ") + e.what());
  }
}

}  // namespace ilive::standin
