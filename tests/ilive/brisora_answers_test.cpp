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

#include "api_records.h"
#include "brisora_session.h"

namespace brisora_test {
namespace {

using S = std::string;

// ---- the records ----

using BrisoraRecords = BrisoraSession;

TEST_F(BrisoraRecords, EveryParameterFieldAndListIsDocumentedWithListedCodeSets) {
  api_records::expectCompleteRecords(context(), 68);
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
