// The records an extension's function table carries, checked as the
// reference and the typed ActionScript library read them: a parameter without
// its line leaves both silent about it; a line naming no parameter vanishes; a
// code set or a type that is not listed would give the typed library a class
// it lacks; one field name with two types would give one typed event property
// two meanings; a set split in two would be two classes of one name.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "air/host.h"
#include "core/api.h"

namespace api_records {

inline size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

inline bool isUpperCaseName(const std::string& name) {
  return !name.empty() && name[0] >= 'A' && name[0] <= 'Z' &&
         std::all_of(name.begin(), name.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; });
}

inline bool isLowerCamelName(const std::string& name) {
  return !name.empty() && name[0] >= 'a' && name[0] <= 'z' &&
         std::all_of(name.begin(), name.end(),
                     [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// The records of a context's table, in table order; a function without one fails.
inline std::vector<const core::ApiFunction*> recordsOf(const air::Context& context) {
  std::vector<const core::ApiFunction*> out;
  for (const std::string& name : context.functionNames()) {
    const core::ApiFunction* f = core::apiOf(context.functionData(name));
    EXPECT_NE(f, nullptr) << name << " has no record";
    if (f) out.push_back(f);
  }
  return out;
}

// The code sets of an extension: each set's values, distinct, its values standing together.
inline std::map<std::string, std::set<int32_t>> checkCodes(const core::ApiExtension& x) {
  std::map<std::string, std::set<int32_t>> sets;
  std::string previous;
  for (size_t i = 0; i < x.codeCount; ++i) {
    const core::ApiCode& c = x.codes[i];
    EXPECT_TRUE(isUpperCaseName(c.name)) << c.set << "." << c.name;
    EXPECT_TRUE(c.set[0] >= 'A' && c.set[0] <= 'Z') << c.set;
    if (c.set != previous) {
      EXPECT_EQ(sets.count(c.set), 0u) << c.set << " is split in two";
    }
    previous = c.set;
    EXPECT_TRUE(sets[c.set].insert(c.value).second) << c.set << " has " << c.value << " twice";
    EXPECT_STRNE(c.meaning, "") << c.set << "." << c.name;
  }
  return sets;
}

// Every record of the table complete and consistent with the extension's
// events, codes and lists; `functions` is how many the table must hold.
inline void expectCompleteRecords(const air::Context& context, size_t functions) {
  const std::vector<const core::ApiFunction*> table = recordsOf(context);
  ASSERT_EQ(table.size(), functions);
  const core::ApiExtension& x = *table.front()->extension;
  const std::map<std::string, std::set<int32_t>> sets = checkCodes(x);
  const auto knownType = [&](const std::string& type) {
    return type == "String" || type == "int" || type == "Number" || type == "Boolean" || sets.count(type) > 0;
  };

  std::map<std::string, const core::ApiFunction*> byName;
  std::set<std::string> setsNamed;
  for (const core::ApiFunction* f : table) {
    byName[f->name] = f;
    const std::vector<core::ApiParam> params = core::apiParams(*f);
    for (const core::ApiParam& p : params) {
      EXPECT_NE(p.doc, "") << f->name << "(" << p.name << ") is not documented";
      if (p.codes.empty()) continue;
      EXPECT_EQ(sets.count(p.codes), 1u) << f->name << "(" << p.name << "): " << p.codes;
      EXPECT_TRUE(p.type == "int" || p.type == "uint") << f->name << "(" << p.name << ") is no number";
      setsNamed.insert(p.codes);
    }
    const std::vector<std::string> lines = core::detail::cut(f->paramDocs, '\n');
    EXPECT_EQ(lines.size(), params.size()) << f->name;
    for (const std::string& line : lines) {
      const std::string name = line.substr(0, std::min(line.find(':'), line.find(" (")));
      EXPECT_TRUE(std::any_of(params.begin(), params.end(), [&](const core::ApiParam& p) { return p.name == name; }))
          << f->name << ": \"" << line << "\" names no parameter";
    }
    EXPECT_NE(*f->answers, 0) << f->name;
  }

  std::map<std::string, std::string> fieldTypes;
  for (size_t i = 0; i < x.eventCount; ++i) {
    const core::ApiEvent& e = x.events[i];
    if (!*e.fields) continue;
    const std::vector<core::ApiParam> fields = core::apiFields(e.fields);
    EXPECT_EQ(fields.size(), count(e.level, "||") + 1) << e.code;
    for (const core::ApiParam& field : fields) {
      EXPECT_TRUE(isLowerCamelName(field.name)) << e.code << "." << field.name;
      EXPECT_TRUE(knownType(field.type)) << e.code << "." << field.name << ":" << field.type;
      if (sets.count(field.type)) setsNamed.insert(field.type);
      const auto known = fieldTypes.emplace(field.name, field.type).first;
      EXPECT_EQ(known->second, field.type) << e.code << "." << field.name;
    }
  }

  for (size_t i = 0; i < x.listCount; ++i) {
    const core::ApiList& l = x.lists[i];
    ASSERT_EQ(byName.count(l.function), 1u) << l.function;
    EXPECT_EQ(core::apiResultType(*byName[l.function]), "String") << l.function << " does not answer a text";
    EXPECT_TRUE(isLowerCamelName(l.helper)) << l.helper;
    EXPECT_STREQ(l.separator, "||") << l.function;
    for (const core::ApiParam& field : core::apiFields(l.fields)) {
      EXPECT_TRUE(knownType(field.type)) << l.function << "." << field.name << ":" << field.type;
      if (sets.count(field.type)) setsNamed.insert(field.type);
    }
    EXPECT_EQ(*l.fields == 0, *l.itemClass == 0) << l.function;
  }

  // A set that neither an argument nor a field names is still met in an answer.
  for (const auto& set : sets) {
    if (setsNamed.count(set.first)) continue;
    EXPECT_TRUE(std::any_of(table.begin(), table.end(),
                            [&](const core::ApiFunction* f) { return std::string(f->answers).find(set.first) != std::string::npos; }))
        << set.first << " is met nowhere";
  }
}

}  // namespace api_records
