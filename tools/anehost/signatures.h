// What the host reads of an extension's function records (the ActionScript
// signature, answers and events each table entry carries): the warnings for
// a call whose arguments do not fit, and the reference in three forms — for
// the terminal, as Markdown (docs/), and as JSON for the ActionScript library.
#pragma once

#include <string>
#include <vector>

#include "air/host.h"
#include "core/api.h"

namespace anehost {

// The records of a loaded extension, in table order.
struct ExtensionApi {
  std::string name;  // "Brisora": the last part of the id
  std::string id;
  std::vector<const core::ApiFunction*> functions;
  std::vector<core::ApiEvent> events;
  std::vector<core::ApiCode> codes;  // in table order, a set's values together
  std::vector<core::ApiList> lists;
};

// The records a context's table carries (functions without a record are left out).
ExtensionApi readApi(const std::string& id, const air::Context& context);

// One line per argument that does not fit the signature, and one for a wrong
// count: "argument 2 of initILiveSdk: expected int, got String".
std::vector<std::string> argumentWarnings(const core::ApiFunction& f, const std::vector<air::Value>& args);

// "initILiveSdk(appId:int, …):Boolean" — the ActionScript form.
std::string signatureText(const core::ApiFunction& f);

// The reference of one function, or of a whole extension, for the terminal.
std::string describeFunction(const core::ApiFunction& f);
std::string describeExtension(const ExtensionApi& api);

// The reference of an extension as Markdown, grouped as users think of the functions.
std::string referenceMarkdown(const ExtensionApi& api);

// {"extensions":[…]}: every function's record (typed and documented arguments,
// result, answers, events, notes), the events with their typed fields, the
// code sets and the list answers.
std::string signaturesJson(const std::vector<ExtensionApi>& apis);

}  // namespace anehost
