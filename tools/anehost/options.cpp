#include "options.h"

#include <cstdlib>
#include <filesystem>

#include "script.h"
#include "session.h"

namespace anehost {
namespace {

enum class Kind { Flag, Number, Folder };

struct Setting {
  const char* name;
  Kind kind;
  unsigned long min, max;  // Number
};

const Setting kSettings[] = {
    {"out", Kind::Folder, 0, 0},
    {"ansi-codepage", Kind::Number, 1, 65535},
    {"inverted-bitmaps", Kind::Flag, 0, 0},
    {"extensions", Kind::Folder, 0, 0},
    {"timeout", Kind::Number, 0, 600000},
    {"keep-going", Kind::Flag, 0, 0},
    {"utf8", Kind::Flag, 0, 0},
    {"strict", Kind::Flag, 0, 0},
    {"exe-folder", Kind::Folder, 0, 0},
};

const Setting* find(const std::string& name) {
  for (const Setting& s : kSettings)
    if (name == s.name) return &s;
  return nullptr;
}

bool readNumber(const std::string& text, unsigned long min, unsigned long max, unsigned* out) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 10) return false;
  const unsigned long v = std::strtoul(text.c_str(), nullptr, 10);
  if (v < min || v > max) return false;
  *out = static_cast<unsigned>(v);
  return true;
}

}  // namespace

bool optionKnown(const std::string& name, bool* takesValue) {
  const Setting* s = find(name);
  if (s && takesValue) *takesValue = s->kind != Kind::Flag;
  return s != nullptr;
}

std::string optionNames() {
  std::string names;
  for (const Setting& s : kSettings) names += (names.empty() ? "" : ", ") + std::string(s.name);
  return names;
}

bool setOption(const std::string& name, const std::string& value, const std::string& base, Options* o,
               std::string* error) {
  const Setting* s = find(name);
  if (!s) {
    *error = "unknown option '" + name + "' (" + optionNames() + ")";
    return false;
  }
  if (s->kind == Kind::Flag) {
    if (value != "on" && value != "off") {
      *error = name + " is on or off";
      return false;
    }
    const bool on = value == "on";
    if (name == "inverted-bitmaps") o->invertedBitmaps = on;
    else if (name == "keep-going") o->keepGoing = on;
    else if (name == "utf8") o->rawUtf8 = on;
    else o->strict = on;
    return true;
  }
  if (s->kind == Kind::Number) {
    unsigned v = 0;
    if (!readNumber(value, s->min, s->max, &v)) {
      *error = name == "ansi-codepage" ? "ansi-codepage needs a code page number such as 936 or 1252"
                                       : name + " needs milliseconds from 0 to " + std::to_string(s->max);
      return false;
    }
    (name == "ansi-codepage" ? o->ansiCodePage : o->timeoutMs) = v;
    return true;
  }
  if (value.empty()) {
    *error = name + " needs a folder";
    return false;
  }
  std::filesystem::path folder(value);
  if (folder.is_relative() && !base.empty()) folder = std::filesystem::path(base) / folder;
  (name == "out" ? o->outDir : name == "exe-folder" ? o->exeFolder : o->extensionsDir) =
      (name == "exe-folder" ? std::filesystem::absolute(folder).lexically_normal() : folder).string();
  return true;
}

bool applyScriptOptions(const Script& script, Options* options, std::string* error) {
  for (const Command& c : script.commands) {
    const auto* option = std::get_if<cmd::Option>(&c.action);
    if (!option || options->fromCommandLine.count(option->name)) continue;
    if (!setOption(option->name, option->value, options->scriptDir, options, error)) {
      *error = "line " + std::to_string(c.line) + ": " + *error;
      return false;
    }
  }
  return true;
}

}  // namespace anehost
