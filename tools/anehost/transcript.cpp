#include "transcript.h"

#include <variant>

#include "call_lines.h"
#include "session.h"
#include "text.h"

namespace anehost {

void scriptError(int line, const std::string& message) {
  throw Stop{kExitScriptError, "line " + std::to_string(line) + ": " + message};
}

void failed(const std::string& message) { throw Stop{kExitFailed, message}; }

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

void Transcript::say(const std::string& line) {
  std::fputs(line.c_str(), out_);
  std::fputc('\n', out_);
  std::fflush(out_);
}

void Transcript::item(const char* tag, const std::string& text) {
  char head[32];
  std::snprintf(head, sizeof head, "    %-8s ", tag);
  say(head + text);
}

std::string Transcript::q(const std::string& s) const { return quote(s, rawUtf8_); }

std::string Transcript::qb(const std::string& s) const { return quoteBytes(s, rawUtf8_); }

std::string Transcript::call(const std::string& line) const { return callLineText(line, rawUtf8_); }

}  // namespace anehost
