// What an ActionScript user reads of an extension: each function's signature,
// its answers and the events that follow, and each event code's level format.
// The records sit in the function table itself: every entry the runtime
// receives carries its record as the entry's function data, so the table that
// runs and the table that is documented are one. The host tool reads them from
// a loaded extension (warnings for wrong arguments, the reference it prints).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FlashRuntimeExtensions.h"
#include "core/edge.h"

namespace core {

// Marks function data that is an ApiFunction ('ANEA').
constexpr uint32_t kApiTag = 0x414E4541u;

struct ApiExtension;

// One ActionScript function. Texts are UTF-8; empty where there is nothing to say.
struct ApiFunction {
  uint32_t tag;
  const char* name;
  const char* group;    // as a user thinks of it: "start-up", "rooms", "video", …
  const char* params;   // "appId:int, userId:String"; "" for none
  const char* result;   // "Boolean", "String?" (may be null), "void" (answers null)
  const char* summary;  // one line
  const char* answers;  // every answer, the failure answers and when each comes
  const char* events;   // the events the call or the SDK raises afterwards
  const char* notes;    // behaviours made safe where the obvious reading is not
  // What each parameter means, one line per parameter in order, "name: text"
  // (meaning, unit, accepted range), or "name (CodeSet): text" for a number
  // that is one of the extension's named codes; "" when there are none.
  const char* paramDocs;
  const ApiExtension* extension;  // the extension's events, codes and lists (set by its table)
};

// One status event code and the format of its level.
struct ApiEvent {
  const char* code;
  const char* level;    // as the reference shows it: "user id||width||…"
  const char* meaning;
  // The level's fields in order, as the typed event reads them:
  // "userId:String, width:int, …". A type is String, int, Number, Boolean
  // (the text "1" or "0"), or the name of one of the extension's code sets
  // (an int of that set). "" when the level is not a list of "||" fields
  // (an outcome such as "complete", or a report text).
  const char* fields;
};

// One named value of a numeric code set: {"StreamCode", "BIG", 1, "the big stream"}.
// The values are the extension's own constants, so each is spelled once.
struct ApiCode {
  const char* set;      // an ActionScript class name, unique across both extensions
  const char* name;     // an ActionScript constant name: "BIG", "SUB_STREAM"
  int32_t value;
  const char* meaning;
};

// A function whose text answer is a list in a fixed form, and the typed
// helper that reads it. Items are cut at `separator`; an item is a String, or,
// when `fields` is not empty, a record of class `itemClass` whose fields
// ("id:int, name:String", types as for events) are cut at `fieldSeparator`.
struct ApiList {
  const char* function;        // "getCameraDevicesList"
  const char* helper;          // the ActionScript helper's name: "cameraDevices"
  const char* separator;       // "||"
  const char* itemClass;       // "ScreenSource"; "" for a list of Strings
  const char* fields;          // "" for a list of Strings
  const char* fieldSeparator;  // "" for a list of Strings
  const char* meaning;         // what one item is
};

// Everything an extension documents beside its functions.
struct ApiExtension {
  const ApiEvent* events;
  size_t eventCount;
  const ApiCode* codes;
  size_t codeCount;
  const ApiList* lists;
  size_t listCount;
};

// An extension's records, from its arrays of events, codes and lists.
template <size_t E, size_t C, size_t L>
constexpr ApiExtension extensionOf(const ApiEvent (&events)[E], const ApiCode (&codes)[C], const ApiList (&lists)[L]) {
  return ApiExtension{events, E, codes, C, lists, L};
}

// An entry of an extension's table: the guarded function and its record.
struct TableEntry {
  FREFunction function;
  ApiFunction api;
};

struct ApiParam {
  std::string name;
  std::string type;
  std::string codes;  // the code set a number belongs to; "" for none
  std::string doc;    // what it means; "" when the record does not say
};

namespace detail {
inline std::string trimmed(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  const size_t last = s.find_last_not_of(' ');
  return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}
// The parts of a text cut at every `separator` (none for an empty text).
inline std::vector<std::string> cut(const std::string& text, char separator) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}
}  // namespace detail

// "a:int, b:String" → {a, int}, {b, String}: the parameters of a record, or
// the fields of an event or a list item. A name without a type has type "*".
inline std::vector<ApiParam> apiFields(const char* list) {
  std::vector<ApiParam> out;
  for (const auto& part : detail::cut(list ? list : "", ',')) {
    const std::string one = detail::trimmed(part);
    if (one.empty()) continue;
    const size_t colon = one.find(':');
    out.push_back({detail::trimmed(one.substr(0, colon)),
                   colon == std::string::npos ? "*" : detail::trimmed(one.substr(colon + 1)), "", ""});
  }
  return out;
}

// The parameters of a record in order, with what its parameter docs say of each.
inline std::vector<ApiParam> apiParams(const ApiFunction& f) {
  std::vector<ApiParam> out = apiFields(f.params);
  for (const auto& line : detail::cut(f.paramDocs ? f.paramDocs : "", '\n')) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    std::string name = detail::trimmed(line.substr(0, colon));
    std::string codes;
    const size_t open = name.find(" (");
    if (open != std::string::npos && name.back() == ')') {
      codes = name.substr(open + 2, name.size() - open - 3);
      name = detail::trimmed(name.substr(0, open));
    }
    for (auto& p : out)
      if (p.name == name) {
        p.codes = codes;
        p.doc = detail::trimmed(line.substr(colon + 1));
      }
  }
  return out;
}

// The result type without its "may be null" mark, and whether it may be null.
inline std::string apiResultType(const ApiFunction& f) {
  std::string r = f.result ? f.result : "void";
  if (!r.empty() && r.back() == '?') r.pop_back();
  return r;
}
inline bool apiResultNullable(const ApiFunction& f) {
  const std::string r = f.result ? f.result : "";
  return !r.empty() && r.back() == '?';
}

// The record an entry of a runtime table carries, or null when its function
// data is something else.
inline const ApiFunction* apiOf(const void* functionData) {
  const auto* f = static_cast<const ApiFunction*>(functionData);
  return f && f->tag == kApiTag ? f : nullptr;
}

}  // namespace core

// One entry of a function table: the guarded function and its record, named
// once. Arguments after the function: group, parameters, result, summary,
// answers, events, notes, parameter docs.
// The host tool prints the reference from these records and checks the
// arguments of each call against them.
#define ANE_API(name, group, params, result, summary, answers, events, notes, paramDocs)                        \
  ::core::TableEntry {                                                                                          \
    &::core::guarded<&name>, {                                                                                  \
      ::core::kApiTag, #name, group, params, result, summary, answers, events, notes, paramDocs, nullptr        \
    }                                                                                                           \
  }
