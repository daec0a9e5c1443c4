// Local devices: name lists, opening by position, states and volumes.
#include "brisora_session.h"
#include "code_page.h"
#include "time_limit.h"

namespace brisora_test {
namespace {

using BrisoraDevices = BrisoraSession;

TEST_F(BrisoraDevices, DevicesAreListedAndOpenedByPosition) {
  traceOn();
  const uint64_t sdkBlocks = standin::allocStats().live;
  standin::setAnswer("getCameraList", answer(0, {"Cam A", "Cam B"}, {}, {"id-a", "id-b"}));
  EXPECT_EQ(call("getCameraNames"), text("Cam A||Cam B"));
  EXPECT_EQ(call("openCamera", {int32_t(1)}), kTrue);
  EXPECT_EQ(call("openCamera", {int32_t(2)}), kFalse);
  EXPECT_EQ(call("openCamera", {int32_t(-1)}), kFalse);
  EXPECT_EQ(console(), "\nBrisora:openCamera,1\n\nBrisora:Usb Camera:,Cam B\n\nBrisora:openCamera,2\n"
                           "\nBrisora:openCamera,-1\n");
  standin::setAnswer("getMicList", answer(0, {"Mic 0", "Mic 1"}, {}, {"m0", "m1"}));
  EXPECT_EQ(call("openMic", {int32_t(1)}), kTrue);
  standin::setAnswer("getWindowList", answer(0, {"Editor", "Browser"}, {2000, 2001}));
  EXPECT_EQ(call("openScreenShare", {int32_t(1), 15u}), kTrue);
  EXPECT_EQ(call("openScreenRectangleShare", {int32_t(1), int32_t(2), int32_t(3), int32_t(4), 5u}), kTrue);
  EXPECT_EQ(console(), "\nBrisora:openMic,1\n\nBrisora:openScreenShare,1\n\nBrisora:openScreenShare,1,2,3,4,5\n");
  EXPECT_THAT(sdkCalls(), ElementsAre("getCameraList(list)", "getCameraList(list)", "openCamera(\"id-b\")",
                                   "getCameraList(list)", "getCameraList(list)", "getMicList(list)", "openMic(\"m1\")",
                                   "getWindowList(list)", "openScreenShare(2001, 15)",
                                   "openScreenShareArea(1, 2, 3, 4, 5)"));
  // The open call's answer is not read; an exception makes it false.
  if (kSdkThrowsReachBrisora) {
    standin::setAnswer("openCamera", throws());
    EXPECT_EQ(call("openCamera", {int32_t(0)}), kFalse);
  }
  EXPECT_EQ(standin::allocStats().live, sdkBlocks);  // every listing given back to the SDK
}

// A long listing is joined in time linear in its length: 1,000 names of 4 KB
// (some 40 ms here; joined by growing the text name by name, 14 s).
TEST_F(BrisoraDevices, LongListingsAreJoinedQuickly) {
  std::vector<std::string> names(1000, std::string(4096, 'n'));
  for (size_t i = 0; i < names.size(); ++i) names[i][0] = char('A' + i % 26);
  standin::setAnswer("getCameraList", answer(0, names));
  air::Value joined;
  const long long ms = ane_test::millisecondsOf([&] { joined = call("getCameraNames"); });
  const std::string text = as<std::string>(joined);
  EXPECT_EQ(1000u * 4096 + 999 * 2, text.size());
  EXPECT_EQ("Annn", text.substr(0, 4));
  EXPECT_EQ("||Bnnn", text.substr(4096, 6));
  EXPECT_LT(ms, ane_test::timeLimit(std::chrono::milliseconds(200)).count());
}

TEST_F(BrisoraDevices, EmptyAndFailedListings) {
  const char* listings[] = {"getCameraList", "getMicList", "getSpeakerList", "getWindowList"};
  for (const char* op : listings) standin::setAnswer(op, answer(0));
  EXPECT_EQ(call("getCameraNames"), kNull);
  EXPECT_EQ(call("getMicNames"), kNull);
  EXPECT_EQ(call("getSpeakerNames"), text(""));
  EXPECT_EQ(call("getScreenShareNames"), text(""));
  EXPECT_EQ(call("openCamera", {int32_t(0)}), kFalse);
  EXPECT_EQ(call("openMic", {int32_t(0)}), kFalse);
  // A listing that fails: null, except openCamera, which answers false.
  for (const char* op : listings) standin::setAnswer(op, answer(1));
  for (const char* f : {"getCameraNames", "getMicNames", "getSpeakerNames", "getScreenShareNames"})
    EXPECT_EQ(call(f), kNull) << f;
  EXPECT_EQ(call("openCamera", {int32_t(0)}), kFalse);
  for (const char* f : {"openMic", "openSpeaker", "openScreenShare"}) EXPECT_EQ(call(f, {int32_t(0)}), kNull) << f;
  for (const auto& c : sdkCalls()) EXPECT_EQ(c.rfind("open", 0), std::string::npos) << c;
}

TEST_F(BrisoraDevices, NamesInTheAnsiCodePageReachActionScriptAsUtf8) {
  if (ane_test::useAnsiCodePage(936)) {
    standin::setAnswer("getCameraList", answer(0, {"\xC9\xE3\xCF\xF1\xCD\xB7", "USB"}));  // "摄像头" in GBK
    EXPECT_EQ(call("getCameraNames"), text("\xE6\x91\x84\xE5\x83\x8F\xE5\xA4\xB4||USB"));
  }
  if (ane_test::useAnsiCodePage(1252)) {
    standin::setAnswer("getSpeakerList", answer(0, {"Lautsprecher f\xFCr Kopfh\xF6rer"}));
    EXPECT_EQ(call("getSpeakerNames"), text("Lautsprecher f\xC3\xBCr Kopfh\xC3\xB6rer"));
  }
}

TEST_F(BrisoraDevices, StatesAndVolumesFallBackWhenTheSdkThrows) {
  const std::pair<const char*, air::Value> cases[] = {
      {"closeCamera", kFalse},          {"getCurCameraState", kFalse},
      {"closeMic", kFalse},             {"getCurMicState", kFalse},
      {"getMicVolume", 4294967295u},    {"setMicVolume", kTrue},
      {"closeSpeaker", kFalse},         {"getCurPlayerState", kFalse},
      {"getPlayerVolume", 4294967295u}, {"setPlayerVolume", kTrue},
      {"closeScreenShare", kFalse},     {"getScreenShareState", int32_t(0)},
      {"getCurSystemVoiceInputState", kFalse}, {"getSystemVoiceInputVolume", 4294967295u},
      {"setSystemVoiceInputVolume", kTrue},
  };
  for (const auto& c : cases) {
    if (!kSdkThrowsReachBrisora) break;
    standin::setAnswer(c.first, throws());
    EXPECT_EQ(call(c.first, {int32_t(50)}), c.second) << c.first;
  }
  standin::setAnswer("getMicVolume", answer(73));
  EXPECT_EQ(call("getMicVolume"), air::Value(73u));
  for (int64_t state : {3, -1, 0, 1, 2}) {
    standin::setAnswer("getScreenShareState", answer(state));
    EXPECT_EQ(call("getScreenShareState"), air::Value(int32_t(state == 1 || state == 2 ? state : 0))) << state;
  }
  traceOn();
  call("setPlayerVolume", {int32_t(50)});
  call("setMicVolume", {int32_t(50)});
  EXPECT_EQ(console(), "\nBrisora:setPlayerVolume\n\nBrisora:setMicVolume:50\n");
}

}  // namespace
}  // namespace brisora_test
