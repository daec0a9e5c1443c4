#include "signatures.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <sstream>

namespace anehost {
namespace {

std::string shortName(const std::string& id) {
  const auto dot = id.rfind('.');
  return dot == std::string::npos ? id : id.substr(dot + 1);
}

// The ActionScript type of a host value, as a reader of the warning knows it.
std::string typeOf(const air::Value& v) {
  switch (v.index()) {
    case 0: return "null";
    case 1: return "Boolean";
    case 2: return "int";
    case 3: return "uint";
    case 4: return "Number";
    case 5: return "String";
    case 6: return "ByteArray";
    case 7: return "BitmapData";
    default: return "Object";
  }
}

bool isWhole(double d) { return std::isfinite(d) && std::floor(d) == d; }

// Whether a value reaches a parameter of the type as ActionScript would pass it.
bool fits(const std::string& type, const air::Value& v) {
  if (type == "*" || type == "Object") return true;
  if (type == "int") {
    if (std::holds_alternative<int32_t>(v)) return true;
    if (const auto* u = std::get_if<uint32_t>(&v)) return *u <= static_cast<uint32_t>(INT32_MAX);
    if (const auto* d = std::get_if<double>(&v)) return isWhole(*d) && *d >= INT32_MIN && *d <= INT32_MAX;
    return false;
  }
  if (type == "uint") {
    if (std::holds_alternative<uint32_t>(v)) return true;
    if (const auto* i = std::get_if<int32_t>(&v)) return *i >= 0;
    if (const auto* d = std::get_if<double>(&v)) return isWhole(*d) && *d >= 0 && *d <= UINT32_MAX;
    return false;
  }
  if (type == "Number")
    return std::holds_alternative<int32_t>(v) || std::holds_alternative<uint32_t>(v) || std::holds_alternative<double>(v);
  if (type == "Boolean") return std::holds_alternative<bool>(v);
  // Object types take null, as ActionScript does.
  if (std::holds_alternative<air::Null>(v)) return type == "String" || type == "ByteArray" || type == "BitmapData";
  if (type == "String") return std::holds_alternative<std::string>(v);
  if (type == "ByteArray") return std::holds_alternative<std::shared_ptr<air::ByteArray>>(v);
  if (type == "BitmapData") return std::holds_alternative<std::shared_ptr<air::Bitmap>>(v);
  return true;
}

std::string jsonText(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string text(const char* s) { return s ? s : ""; }

// [{"name": …, "type": …}, …] of a fields text ("userId:String, width:int").
std::string fieldsJson(const char* fields) {
  std::string out = "[";
  const auto list = core::apiFields(fields);
  for (size_t i = 0; i < list.size(); ++i)
    out += (i ? ", " : "") + std::string("{\"name\": ") + jsonText(list[i].name) + ", \"type\": " + jsonText(list[i].type) + "}";
  return out + "]";
}

// The groups in the order a user meets them; others follow in table order.
const char* const kGroupOrder[] = {"start-up", "login", "room", "rooms", "video", "audio", "devices",
                                   "screen capture", "media", "diagnostics", "pushers and players", "host"};

std::vector<std::string> groupsOf(const ExtensionApi& api) {
  std::vector<std::string> groups;
  const auto add = [&](const std::string& g) {
    for (const auto& have : groups)
      if (have == g) return;
    for (const auto* f : api.functions)
      if (text(f->group) == g) {
        groups.push_back(g);
        return;
      }
  };
  for (const char* g : kGroupOrder) add(g);
  for (const auto* f : api.functions) add(text(f->group));
  return groups;
}

// A text inside a cell of a Markdown table: a "|" would end the cell, even in code.
std::string cell(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '|') out += '\\';
    out += c;
  }
  return out;
}
std::string cell(const char* s) { return cell(text(s)); }

std::string lowered(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

std::string capitalised(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

}  // namespace

ExtensionApi readApi(const std::string& id, const air::Context& context) {
  ExtensionApi api;
  api.id = id;
  api.name = shortName(id);
  for (const auto& name : context.functionNames()) {
    const core::ApiFunction* f = core::apiOf(context.functionData(name));
    if (!f) continue;
    api.functions.push_back(f);
    const core::ApiExtension* x = f->extension;
    if (api.events.empty() && x) {
      api.events.assign(x->events, x->events + x->eventCount);
      api.codes.assign(x->codes, x->codes + x->codeCount);
      api.lists.assign(x->lists, x->lists + x->listCount);
    }
  }
  return api;
}

std::vector<std::string> argumentWarnings(const core::ApiFunction& f, const std::vector<air::Value>& args) {
  std::vector<std::string> out;
  const auto params = core::apiParams(f);
  if (args.size() != params.size())
    out.push_back(text(f.name) + " takes " + std::to_string(params.size()) + " argument" +
                  (params.size() == 1 ? "" : "s") + ", got " + std::to_string(args.size()));
  for (size_t i = 0; i < args.size() && i < params.size(); ++i)
    if (!fits(params[i].type, args[i]))
      out.push_back("argument " + std::to_string(i + 1) + " of " + text(f.name) + ": expected " + params[i].type +
                    ", got " + typeOf(args[i]));
  return out;
}

std::string signatureText(const core::ApiFunction& f) {
  return text(f.name) + "(" + text(f.params) + "):" + text(f.result);
}

std::string describeFunction(const core::ApiFunction& f) {
  std::ostringstream o;
  o << signatureText(f) << "\n  " << text(f.summary) << "\n";
  for (const auto& p : core::apiParams(f))
    if (!p.doc.empty()) o << "  " << p.name << (p.codes.empty() ? "" : " (" + p.codes + ")") << ": " << p.doc << "\n";
  if (*f.answers) o << "  answers: " << f.answers << "\n";
  if (*f.events) o << "  events:  " << f.events << "\n";
  if (*f.notes) o << "  note:    " << f.notes << "\n";
  return o.str();
}

std::string describeExtension(const ExtensionApi& api) {
  std::ostringstream o;
  o << api.name << " (" << api.id << "): " << api.functions.size() << " functions, " << api.events.size()
    << " event codes\n";
  for (const auto& g : groupsOf(api)) {
    o << "\n== " << g << "\n";
    for (const auto* f : api.functions)
      if (text(f->group) == g) o << "\n" << describeFunction(*f);
  }
  o << "\n== events (code: level)\n";
  for (const auto& e : api.events) o << "  " << e.code << ": " << e.level << " — " << e.meaning << "\n";
  return o.str();
}

std::string referenceMarkdown(const ExtensionApi& api) {
  std::ostringstream o;
  o << "# " << api.name << " — ActionScript reference\n\n"
    << "<!-- Generated by `anehost --reference " << api.name
    << "` from the extension's function table; do not edit by hand (scripts/api-docs.sh rewrites it). -->\n\n"
    << "Extension id `" << api.id << "`: " << api.functions.size() << " functions, " << api.events.size()
    << " status event codes. Every function is called as `context.call(\"name\", …)`; a result type ending in `?` "
       "may be null. Wrong arguments never throw: a missing or mistyped argument reads as empty text, 0 or false.\n\n";
  const auto groups = groupsOf(api);
  o << "Groups: ";
  for (size_t i = 0; i < groups.size(); ++i) o << (i ? " · " : "") << "[" << capitalised(groups[i]) << "](#" << [&] {
      std::string a;
      for (char c : groups[i]) a += c == ' ' ? '-' : c;
      return a;
    }() << ")";
  o << " · [Events](#events)\n";
  for (const auto& g : groups) {
    o << "\n## " << capitalised(g) << "\n";
    for (const auto* f : api.functions) {
      if (text(f->group) != g) continue;
      o << "\n### " << f->name << "\n\n```actionscript\n" << signatureText(*f) << "\n```\n\n" << f->summary << "\n\n";
      for (const auto& p : core::apiParams(*f))
        if (!p.doc.empty())
          o << "- `" << p.name << "`" << (p.codes.empty() ? "" : " ([" + p.codes + "](#" + lowered(p.codes) + "))")
            << ": " << p.doc << "\n";
      o << "- **Answers:** " << f->answers << "\n";
      if (*f->events) o << "- **Events:** " << f->events << "\n";
      if (*f->notes) o << "- **Made safe:** " << f->notes << "\n";
    }
  }
  o << "\n## Events\n\nEvery event is a `StatusEvent` with `code` and `level`; level fields are joined by \"||\".\n\n"
    << "| code | level | when | typed fields |\n|---|---|---|---|\n";
  for (const auto& e : api.events)
    o << "| `" << e.code << "` | `" << cell(e.level) << "` | " << cell(e.meaning) << " | "
      << (text(e.fields).empty() ? "" : "`" + cell(e.fields) + "`")
      << " |\n";
  if (!api.codes.empty()) o << "\n## Codes\n\nThe numbers that arguments, answers and event fields take, by set.\n";
  std::string set;
  for (const auto& c : api.codes) {
    if (text(c.set) != set) {
      set = text(c.set);
      o << "\n### " << set << "\n\n| name | value | meaning |\n|---|---|---|\n";
    }
    o << "| `" << c.name << "` | " << c.value << " | " << cell(c.meaning) << " |\n";
  }
  if (!api.lists.empty())
    o << "\n## Lists\n\nAnswers that are lists in a fixed text form, and the typed helper of the ActionScript library that "
         "reads each.\n\n| function | helper | items cut at | item |\n|---|---|---|---|\n";
  for (const auto& l : api.lists)
    o << "| `" << l.function << "` | `" << l.helper << "` | `" << cell(l.separator) << "` | " << cell(l.meaning)
      << (text(l.fields).empty() ? "" : " (`" + text(l.itemClass) + "`: `" + text(l.fields) + "`, cut at `" + cell(l.fieldSeparator) + "`)")
      << " |\n";
  return o.str();
}

std::string signaturesJson(const std::vector<ExtensionApi>& apis) {
  std::ostringstream o;
  o << "{\"extensions\": [";
  for (size_t x = 0; x < apis.size(); ++x) {
    const auto& api = apis[x];
    o << (x ? "," : "") << "\n {\"name\": " << jsonText(api.name) << ", \"id\": " << jsonText(api.id)
      << ",\n  \"functions\": [";
    for (size_t i = 0; i < api.functions.size(); ++i) {
      const auto& f = *api.functions[i];
      o << (i ? "," : "") << "\n   {\"name\": " << jsonText(f.name) << ", \"group\": " << jsonText(f.group)
        << ", \"summary\": " << jsonText(f.summary) << ", \"args\": [";
      const auto params = core::apiParams(f);
      for (size_t p = 0; p < params.size(); ++p) {
        o << (p ? ", " : "") << "{\"name\": " << jsonText(params[p].name) << ", \"type\": " << jsonText(params[p].type);
        if (!params[p].codes.empty()) o << ", \"codes\": " << jsonText(params[p].codes);
        if (!params[p].doc.empty()) o << ", \"doc\": " << jsonText(params[p].doc);
        o << "}";
      }
      o << "], \"result\": {\"type\": " << jsonText(core::apiResultType(f))
        << ", \"nullable\": " << (core::apiResultNullable(f) ? "true" : "false") << "}"
        << ",\n    \"answers\": " << jsonText(text(f.answers)) << ", \"events\": " << jsonText(text(f.events))
        << ", \"notes\": " << jsonText(text(f.notes)) << "}";
    }
    o << "\n  ],\n  \"events\": [";
    for (size_t i = 0; i < api.events.size(); ++i) {
      const auto& e = api.events[i];
      o << (i ? "," : "") << "\n   {\"code\": " << jsonText(e.code) << ", \"level\": " << jsonText(e.level)
        << ", \"meaning\": " << jsonText(text(e.meaning)) << ", \"fields\": " << fieldsJson(e.fields) << "}";
    }
    o << "\n  ],\n  \"codes\": [";
    for (size_t i = 0; i < api.codes.size(); ++i) {
      const auto& c = api.codes[i];
      o << (i ? "," : "") << "\n   {\"set\": " << jsonText(c.set) << ", \"name\": " << jsonText(c.name)
        << ", \"value\": " << c.value << ", \"meaning\": " << jsonText(text(c.meaning)) << "}";
    }
    o << "\n  ],\n  \"lists\": [";
    for (size_t i = 0; i < api.lists.size(); ++i) {
      const auto& l = api.lists[i];
      o << (i ? "," : "") << "\n   {\"function\": " << jsonText(l.function) << ", \"helper\": " << jsonText(l.helper)
        << ", \"separator\": " << jsonText(l.separator) << ", \"itemClass\": " << jsonText(text(l.itemClass))
        << ", \"fields\": " << fieldsJson(l.fields)
        << ", \"fieldSeparator\": " << jsonText(text(l.fieldSeparator)) << ", \"meaning\": " << jsonText(text(l.meaning))
        << "}";
    }
    o << "\n  ]}";
  }
  o << "\n]}\n";
  return o.str();
}

}  // namespace anehost
