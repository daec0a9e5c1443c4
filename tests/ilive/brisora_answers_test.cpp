// What each Brisora function answers when something fails, as its reference
// says: the records of the function table themselves (every parameter
// documented, every code set and list they name listed, every event field
// typed alike), then the failure answers no other scenario covers: the SDK
// throwing or refusing, a position outside a device list, the capture switch
// that asks nothing of the SDK, and what a frame pull leaves in what it is
// given. The other failure answers are checked where their behaviour is:
// states and volumes (brisora_devices_test), listings, start-up, login, rooms
// and media (their own files).
#include <algorithm>
#include <map>
#include <set>

#include "brisora_session.h"
#include "core/api.h"

namespace brisora_test {
namespace {

using S = std::string;

size_t count(const S& text, const S& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != S::npos; at = text.find(what, at + what.size())) ++n;
  return n;
}

bool isUpperCaseName(const S& name) {
  return !name.empty() && name[0] >= 'A' && name[0] <= 'Z' &&
         std::all_of(name.begin(), name.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; });
}

bool isLowerCamelName(const S& name) {
  return !name.empty() && name[0] >= 'a' && name[0] <= 'z' &&
         std::all_of(name.begin(), name.end(),
                     [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

// ---- the records ----

class BrisoraRecords : public BrisoraSession {
 protected:
  std::vector<const core::ApiFunction*> functions() {
    std::vector<const core::ApiFunction*> out;
    for (const S& name : context().functionNames()) {
      const core::ApiFunction* f = core::apiOf(context().functionData(name));
      EXPECT_NE(f, nullptr) << name << " has no record";
      if (f) out.push_back(f);
    }
    return out;
  }
};

// A parameter without its line leaves the reference and the typed library
// silent about it; a line naming no parameter vanishes; a code set or a type
// that is not listed would give the typed library a class it lacks; one field
// name with two types would give one typed event property two meanings.
TEST_F(BrisoraRecords, EveryParameterFieldAndListIsDocumentedWithListedCodeSets) {
  const std::vector<const core::ApiFunction*> table = functions();
  ASSERT_EQ(table.size(), 68u);
  const core::ApiExtension& x = *table.front()->extension;

  std::map<S, std::set<int32_t>> sets;
  std::set<S> setsSeenEnded;  // each set's values stand together
  S previousSet;
  for (size_t i = 0; i < x.codeCount; ++i) {
    const core::ApiCode& c = x.codes[i];
    EXPECT_TRUE(isUpperCaseName(c.name)) << c.set << "." << c.name;
    EXPECT_TRUE(c.set[0] >= 'A' && c.set[0] <= 'Z') << c.set;
    EXPECT_TRUE(sets[c.set].insert(c.value).second) << c.set << " has " << c.value << " twice";
    EXPECT_STRNE(c.meaning, "") << c.set << "." << c.name;
    if (c.set != previousSet) {
      EXPECT_EQ(setsSeenEnded.count(c.set), 0u) << c.set << " is split in two";
      if (!previousSet.empty()) setsSeenEnded.insert(previousSet);
      previousSet = c.set;
    }
  }
  const auto knownType = [&](const S& type) {
    return type == "String" || type == "int" || type == "Number" || type == "Boolean" || sets.count(type) > 0;
  };

  std::map<S, const core::ApiFunction*> byName;
  std::set<S> setsNamed;
  for (const core::ApiFunction* f : table) {
    byName[f->name] = f;
    const std::vector<core::ApiParam> params = core::apiParams(*f);
    for (const core::ApiParam& p : params) {
      EXPECT_NE(p.doc, "") << f->name << "(" << p.name << ") is not documented";
      if (!p.codes.empty()) {
        EXPECT_EQ(sets.count(p.codes), 1u) << f->name << "(" << p.name << "): " << p.codes;
        EXPECT_TRUE(p.type == "int" || p.type == "uint") << f->name << "(" << p.name << ") is no number";
        setsNamed.insert(p.codes);
      }
    }
    const std::vector<S> lines = core::detail::cut(f->paramDocs, '\n');
    EXPECT_EQ(lines.size(), params.size()) << f->name;
    for (const S& line : lines) {
      const S name = line.substr(0, std::min(line.find(':'), line.find(" (")));
      EXPECT_TRUE(std::any_of(params.begin(), params.end(), [&](const core::ApiParam& p) { return p.name == name; }))
          << f->name << ": \"" << line << "\" names no parameter";
    }
    EXPECT_NE(*f->answers, 0) << f->name;
  }

  std::map<S, S> fieldTypes;
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
    for (const core::ApiParam& field : core::apiFields(l.fields))
      EXPECT_TRUE(knownType(field.type)) << l.function << "." << field.name << ":" << field.type;
    EXPECT_EQ(*l.fields == 0, *l.itemClass == 0) << l.function;
  }

  // A set neither an argument nor an event names is still met in an answer.
  for (const auto& set : sets) {
    if (setsNamed.count(set.first)) continue;
    EXPECT_TRUE(std::any_of(table.begin(), table.end(),
                            [&](const core::ApiFunction* f) { return S(f->answers).find(set.first) != S::npos; }))
        << set.first << " is met nowhere";
  }
}

// ---- failure answers ----

using BrisoraAnswers = BrisoraSession;

// A function, arguments it accepts, the SDK operation it makes, what it
// answers normally, and what it answers when that operation fails.
struct Row {
  const char* function;
  std::vector<air::Value> args;
  const char* operation;
  air::Value answered;
  air::Value failed;
};

std::shared_ptr<air::ByteArray> pixels2x2() {
  auto p = std::make_shared<air::ByteArray>();
  p->bytes.assign(16, 7);
  return p;
}

// The operations whose throw ends the call with false, null or "no state".
// (States, volumes and the volume setters: brisora_devices_test; start-up,
// login, listings, settings that answer null: their own files.)
TEST_F(BrisoraAnswers, ACallWhoseSdkOperationThrowsAnswersAsItsReferenceSays) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  const Row rows[] = {
      {"requestStream", {text("u1"), int32_t(1)}, "requestStreams", kTrue, kFalse},
      {"cancelAllStream", {}, "cancelAllStreams", kTrue, kFalse},
      {"quitRoom", {}, "quitRoom", kTrue, kFalse},
      {"openMic", {int32_t(0)}, "openMic", kTrue, kFalse},
      {"openSpeaker", {int32_t(0)}, "openSpeaker", kTrue, kFalse},
      {"openScreenShare", {int32_t(0), 15u}, "openScreenShare", kTrue, kFalse},
      {"openScreenRectangleShare", {int32_t(0), int32_t(0), int32_t(640), int32_t(360), 10u}, "openScreenShareArea",
       kTrue, kFalse},
      {"registAudioDataCallback", {int32_t(2), false}, "setAudioDataHandler", kTrue, kFalse},
      {"openExternalCapture", {}, "openExternalCapture", kTrue, kFalse},
      {"fillExternalCaptureByteFrame", {pixels2x2(), int32_t(2), int32_t(2)}, "fillExternalCaptureFrame", kTrue, kFalse},
      {"fillExternalCaptureBitmapFrame", {air::newBitmap(4, 4)}, "fillExternalCaptureFrame", kTrue, kFalse},
      {"closeExternalCapture", {}, "closeExternalCapture", kTrue, kFalse},
      {"isValidMediaFile", {text("a.mp4")}, "isValidMediaFile", kTrue, kFalse},
      {"pausePlayMediaFile", {}, "pausePlayMediaFile", kTrue, kFalse},
      {"resumePlayMediaFile", {}, "resumePlayMediaFile", kTrue, kFalse},
      {"closePlayMediaFile", {}, "closePlayMediaFile", kTrue, kFalse},
      {"getPlayMediaFilePos", {}, "getPlayMediaFilePos", text("1500||2000"), kNull},
      {"setPlayMediaFilePos", {int32_t(1500)}, "setPlayMediaFilePos", kTrue, kFalse},
      {"fillCustomData", {text("hello"), int32_t(2)}, "sendCustomData", kTrue, kFalse},
  };
  standin::setAnswer("getPlayMediaFilePos", answer(0, {}, {1500, 2000}));
  for (const Row& row : rows) EXPECT_EQ(call(row.function, row.args), row.answered) << row.function;
  for (const Row& row : rows) {
    standin::setAnswer(row.operation, throws());
    EXPECT_EQ(call(row.function, row.args), row.failed) << row.function;
    standin::clearAnswer(row.operation);
  }
  EXPECT_TRUE(events().empty());
}

// An SDK that answers but refuses: false (or null for the position), never
// true; an SDK with an empty version text: the empty String, not null.
TEST_F(BrisoraAnswers, AnSdkRefusalIsFalseAndAnEmptyVersionIsEmpty) {
  struct Refusal {
    const char* function;
    std::vector<air::Value> args;
    const char* operation;
    int64_t code;
    air::Value answer;
  };
  const Refusal refusals[] = {
      {"resumePlayMediaFile", {}, "resumePlayMediaFile", 1, kFalse},
      {"setPlayMediaFilePos", {int32_t(-1)}, "setPlayMediaFilePos", -3, kFalse},
      {"isValidMediaFile", {text("a.txt")}, "isValidMediaFile", 0, kFalse},
      {"fillExternalCaptureBitmapFrame", {air::newBitmap(4, 4)}, "fillExternalCaptureFrame", 1, kFalse},
      {"setSkinWhitenessGrade", {int32_t(9)}, "setSkinWhitenessGrade", 2, kFalse},
      {"getPlayMediaFilePos", {}, "getPlayMediaFilePos", -1, kNull},
  };
  for (const Refusal& r : refusals) {
    standin::setAnswer(r.operation, answer(r.code));
    EXPECT_EQ(call(r.function, r.args), r.answer) << r.function;
  }
  standin::Answer empty;
  empty.text = "";
  standin::setAnswer("getVersion", empty);
  EXPECT_EQ(call("getSdkVersion"), text(""));
}

// A position outside the list just fetched is false, and nothing is opened.
TEST_F(BrisoraAnswers, APositionOutsideTheDeviceListIsFalseWithoutAnOpen) {
  struct Open {
    const char* function;
    const char* listing;
    std::vector<air::Value> extra;
  };
  const Open opens[] = {
      {"openCamera", "getCameraList", {}},
      {"openMic", "getMicList", {}},
      {"openSpeaker", "getSpeakerList", {}},
      {"openScreenShare", "getWindowList", {15u}},
  };
  for (const Open& o : opens) {
    standin::setAnswer(o.listing, answer(0, {"one", "two"}));
    for (int32_t index : {2, -1, 2147483647}) {
      std::vector<air::Value> args{index};
      args.insert(args.end(), o.extra.begin(), o.extra.end());
      EXPECT_EQ(call(o.function, args), kFalse) << o.function << " " << index;
    }
    EXPECT_THAT(sdkCalls(), testing::Each(S(o.listing) + "(list)")) << o.function;
  }
}

// Kind 20 is Brisora's own switch: true, and the SDK is not asked, so not
// even a failing registration can change its answer.
TEST_F(BrisoraAnswers, TheLocalCaptureSwitchIsTrueWithoutAskingTheSdk) {
  if (kSdkThrowsReachBrisora) standin::setAnswer("setAudioDataHandler", throws());
  EXPECT_EQ(call("registAudioDataCallback", {int32_t(20), true}), kTrue);
  EXPECT_EQ(call("registAudioDataCallback", {int32_t(20), false}), kTrue);
  EXPECT_TRUE(sdkCalls().empty());
}

// ---- frame pulls ----

class BrisoraPullAnswers : public BrisoraInRoom {
 protected:
  std::shared_ptr<air::ByteArray> array() {
    auto a = std::make_shared<air::ByteArray>();
    a->bytes = {9, 9, 9};  // whatever ActionScript left in it
    return a;
  }
};

// Both ByteArray pulls answer null and: fill the array with the newest frame;
// empty it when the bound renderer has no frame yet; leave it, with
// "ilivesdk_error", when no renderer is bound. A destination that is not a
// ByteArray is left alone, with no breach of the runtime's rules.
TEST_F(BrisoraPullAnswers, APullFillsEmptiesOrLeavesItsArrayAsTheReferenceSays) {
  sdk("member 3 \"u1\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("addvideo", "u1||1")});
  for (const char* pull : {"getVideoData", "getVideoVector"}) {
    SCOPED_TRACE(pull);
    auto a = array();
    EXPECT_EQ(call(pull, {a, text("u1"), int32_t(1)}), kNull);
    EXPECT_TRUE(a->bytes.empty()) << "bound, no frame yet";
    a = array();
    EXPECT_EQ(call(pull, {a, text("nobody"), int32_t(1)}), kNull);
    EXPECT_EQ(a->bytes, (std::vector<uint8_t>{9, 9, 9})) << "no renderer bound";
    EXPECT_EQ(events(), std::vector<air::Event>{event("ilivesdk_error", "nobody||1||not get videoRander")});
  }
  EXPECT_TRUE(isNull(call("getVideoBitmapData", {kNull, text("u1"), int32_t(1)})));

  sdk("frame remote \"u1\" kind=1 format=rgb24 4x2");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("video", "u1||4||2||0||0||1")});
  for (const char* pull : {"getVideoData", "getVideoVector"}) {
    SCOPED_TRACE(pull);
    auto a = array();
    EXPECT_EQ(call(pull, {a, text("u1"), int32_t(1)}), kNull);
    EXPECT_EQ(a->bytes.size(), 4u * 2 * 4);
    auto bitmap = air::newBitmap(2, 2);
    const std::vector<air::Value> others[] = {{text("not an array"), text("u1"), int32_t(1)},
                                              {bitmap, text("u1"), int32_t(1)},
                                              {kNull, text("u1"), int32_t(1)}};
    for (const auto& args : others) EXPECT_EQ(call(pull, args), kNull);
    EXPECT_EQ(air::breaches().total(), 0u);
  }
  const air::Value picture = call("getVideoBitmapData", {kNull, text("u1"), int32_t(1)});
  const auto* bitmap = std::get_if<std::shared_ptr<air::Bitmap>>(&picture);
  ASSERT_TRUE(bitmap && *bitmap);
  EXPECT_EQ((*bitmap)->width, 4u);
  EXPECT_EQ((*bitmap)->height, 2u);
  EXPECT_TRUE(events().empty());
}

}  // namespace
}  // namespace brisora_test
