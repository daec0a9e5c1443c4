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

struct ApiEvent;

// The status events of an extension.
struct ApiEvents {
  const struct ApiEvent* events;
  size_t count;
};

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
  const ApiEvents* extensionEvents;  // every event of the extension (set by its table)
};

// One status event code and the format of its level.
struct ApiEvent {
  const char* code;
  const char* level;
  const char* meaning;
};

// An extension's event table, from its array of events.
template <size_t N>
constexpr ApiEvents eventsOf(const ApiEvent (&events)[N]) { return ApiEvents{events, N}; }

// An entry of an extension's table: the guarded function and its record.
struct TableEntry {
  FREFunction function;
  ApiFunction api;
};

struct ApiParam {
  std::string name;
  std::string type;
};

// The parameters of a record, in order ("a:int, b:String" → {a, int}, {b, String}).
inline std::vector<ApiParam> apiParams(const ApiFunction& f) {
  std::vector<ApiParam> out;
  std::string text = f.params ? f.params : "";
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string::npos) end = text.size();
    std::string one = text.substr(start, end - start);
    const size_t first = one.find_first_not_of(' ');
    const size_t last = one.find_last_not_of(' ');
    one = first == std::string::npos ? "" : one.substr(first, last - first + 1);
    const size_t colon = one.find(':');
    if (!one.empty()) out.push_back({one.substr(0, colon), colon == std::string::npos ? "*" : one.substr(colon + 1)});
    start = end + 1;
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
// answers, events, notes.
// The host tool prints the reference from these records and checks the
// arguments of each call against them.
#define ANE_API(name, group, params, result, summary, answers, events, notes) \
  ::core::TableEntry {                                                        \
    &::core::guarded<&name>, { ::core::kApiTag, #name, group, params, result, summary, answers, events, notes, nullptr } \
  }
