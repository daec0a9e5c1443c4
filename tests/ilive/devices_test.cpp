// Local devices: name lists, opening by position, states, volumes, sharing.
#include <string>
#include <vector>

#include "brisora_b_fixture.h"
#include "code_page.h"

namespace brisora_b_test {
namespace {

using ::testing::ElementsAre;
namespace standin = ilive::standin;

using BrisoraDevices = BrisoraSession;

standin::Answer devices(std::vector<std::string> names, std::vector<std::string> ids) {
  standin::Answer a;
  a.code = 0;
  a.names = std::move(names);
  a.ids = std::move(ids);
  return a;
}

TEST_F(BrisoraDevices, CamerasAreListedAndOpenedByPosition) {
  traceOn();
  consoleText();
  standin::setAnswer("getCameraList", devices({"Cam A", "Cam B"}, {"id-a", "id-b"}));
  EXPECT_EQ(std::get<std::string>(call("getCameraNames")), "Cam A||Cam B");
  EXPECT_THAT(calls(), ElementsAre("getCameraList(list)"));

  EXPECT_TRUE(isTrue(call("openCamera", {int32_t(1)})));
  EXPECT_THAT(calls(), ElementsAre("getCameraList(list)", "openCamera(\"id-b\")"));
  EXPECT_EQ(consoleText(), "\nBrisora:openCamera,1\n\nBrisora:Usb Camera:,Cam B\n");

  for (int32_t outside : {2, -1}) {
    EXPECT_TRUE(isFalse(call("openCamera", {outside})));
    EXPECT_THAT(calls(), ElementsAre("getCameraList(list)"));
  }

  // The open call's answer is not read; only an exception makes it false.
  standin::setAnswer("openCamera", code(5));
  EXPECT_TRUE(isTrue(call("openCamera", {int32_t(0)})));
  standin::setAnswer("openCamera", throws());
  EXPECT_TRUE(isFalse(call("openCamera", {int32_t(0)})));
}

TEST_F(BrisoraDevices, EmptyListsAndFailedListings) {
  for (const char* op : {"getCameraList", "getMicList", "getSpeakerList", "getWindowList"})
    standin::setAnswer(op, names({}));
  EXPECT_TRUE(isNull(call("getCameraNames")));
  EXPECT_TRUE(isNull(call("getMicNames")));
  EXPECT_EQ(std::get<std::string>(call("getSpeakerNames")), "");
  EXPECT_EQ(std::get<std::string>(call("getScreenShareNames")), "");
  EXPECT_TRUE(isFalse(call("openCamera", {int32_t(0)})));
  EXPECT_TRUE(isFalse(call("openMic", {int32_t(0)})));
  EXPECT_TRUE(isFalse(call("openSpeaker", {int32_t(0)})));
  EXPECT_TRUE(isFalse(call("openScreenShare", {int32_t(0), 10u})));

  // A listing that fails: null, except openCamera, which answers false.
  for (const char* op : {"getCameraList", "getMicList", "getSpeakerList", "getWindowList"})
    standin::setAnswer(op, code(1));
  EXPECT_TRUE(isNull(call("getCameraNames")));
  EXPECT_TRUE(isNull(call("getMicNames")));
  EXPECT_TRUE(isNull(call("getSpeakerNames")));
  EXPECT_TRUE(isNull(call("getScreenShareNames")));
  EXPECT_TRUE(isFalse(call("openCamera", {int32_t(0)})));
  EXPECT_TRUE(isNull(call("openMic", {int32_t(0)})));
  EXPECT_TRUE(isNull(call("openSpeaker", {int32_t(0)})));
  EXPECT_TRUE(isNull(call("openScreenShare", {int32_t(0), 10u})));
  for (const auto& c : calls()) EXPECT_EQ(c.find("open"), std::string::npos) << c;
}

TEST_F(BrisoraDevices, MicrophoneSpeakerAndWindowAreOpenedWithTheChosenEntry) {
  traceOn();
  consoleText();
  standin::setAnswer("getMicList", devices({"Mic 0", "Mic 1"}, {"m0", "m1"}));
  standin::setAnswer("getSpeakerList", devices({"Out"}, {"s0"}));
  standin::Answer windows = names({"Editor", "Browser"});
  windows.values = {2000, 2001};
  standin::setAnswer("getWindowList", windows);

  EXPECT_EQ(std::get<std::string>(call("getMicNames")), "Mic 0||Mic 1");
  EXPECT_TRUE(isTrue(call("openMic", {int32_t(1)})));
  EXPECT_TRUE(isFalse(call("openMic", {int32_t(2)})));
  EXPECT_TRUE(isTrue(call("openSpeaker", {int32_t(0)})));
  EXPECT_EQ(std::get<std::string>(call("getScreenShareNames")), "Editor||Browser");
  EXPECT_TRUE(isTrue(call("openScreenShare", {int32_t(1), 15u})));
  EXPECT_TRUE(isTrue(call("openScreenRectangleShare", {int32_t(1), int32_t(2), int32_t(3), int32_t(4), 5u})));
  EXPECT_THAT(calls(), ElementsAre("getMicList(list)", "getMicList(list)", "openMic(\"m1\")", "getMicList(list)",
                                   "getSpeakerList(list)", "openSpeaker(\"s0\")", "getWindowList(list)",
                                   "getWindowList(list)", "openScreenShare(2001, 15)",
                                   "openScreenShareArea(1, 2, 3, 4, 5)"));
  EXPECT_EQ(consoleText(),
            "\nBrisora:getMicNames\n\nBrisora:openMic,1\n\nBrisora:openMic,2\n\nBrisora:openSpeaker,0\n"
            "\nBrisora:openScreenShare,1\n\nBrisora:openScreenShare,1,2,3,4,5\n");

  standin::setAnswer("openMic", throws());
  standin::setAnswer("openScreenShareArea", throws());
  EXPECT_TRUE(isFalse(call("openMic", {int32_t(0)})));
  EXPECT_TRUE(isFalse(call("openScreenRectangleShare", {int32_t(1), int32_t(2), int32_t(3), int32_t(4), 5u})));
}

TEST_F(BrisoraDevices, NamesComeFromTheAnsiCodePageAsUtf8) {
  if (ane_test::useAnsiCodePage(936)) {
    standin::setAnswer("getCameraList", names({"\xC9\xE3\xCF\xF1\xCD\xB7", "USB"}));  // 摄像头 in GBK
    EXPECT_EQ(std::get<std::string>(call("getCameraNames")), "\xE6\x91\x84\xE5\x83\x8F\xE5\xA4\xB4||USB");
  }
  if (ane_test::useAnsiCodePage(1252)) {
    standin::setAnswer("getSpeakerList", names({"Lautsprecher f\xFCr Kopfh\xF6rer"}));
    EXPECT_EQ(std::get<std::string>(call("getSpeakerNames")), "Lautsprecher f\xC3\xBCr Kopfh\xC3\xB6rer");
  }
}

TEST_F(BrisoraDevices, StatesAndVolumesAnswerAsTheSdkDoesAndFallBackWhenItThrows) {
  struct Case {
    const char* function;
    const char* operation;
    std::vector<air::Value> args;
    air::Value whenThrown;
  };
  const Case cases[] = {
      {"closeCamera", "closeCamera", {}, false},
      {"getCurCameraState", "getCurCameraState", {}, false},
      {"closeMic", "closeMic", {}, false},
      {"getCurMicState", "getCurMicState", {}, false},
      {"getMicVolume", "getMicVolume", {}, 4294967295u},
      {"setMicVolume", "setMicVolume", {int32_t(50)}, true},
      {"closeSpeaker", "closeSpeaker", {}, false},
      {"getCurPlayerState", "getCurPlayerState", {}, false},
      {"getPlayerVolume", "getPlayerVolume", {}, 4294967295u},
      {"setPlayerVolume", "setPlayerVolume", {int32_t(50)}, true},
      {"closeScreenShare", "closeScreenShare", {}, false},
      {"getScreenShareState", "getScreenShareState", {}, int32_t(0)},
      {"getCurSystemVoiceInputState", "getCurSystemVoiceInputState", {}, false},
      {"getSystemVoiceInputVolume", "getSystemVoiceInputVolume", {}, 4294967295u},
      {"setSystemVoiceInputVolume", "setSystemVoiceInputVolume", {int32_t(50)}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.function);
    standin::setAnswer(c.operation, throws());
    EXPECT_EQ(call(c.function, c.args), c.whenThrown);
    standin::clearAnswer(c.operation);
  }

  standin::setAnswer("getMicVolume", code(73));
  EXPECT_EQ(call("getMicVolume"), air::Value(73u));
  standin::setAnswer("getCurCameraState", code(1));
  EXPECT_TRUE(isTrue(call("getCurCameraState")));
  standin::setAnswer("closeMic", code(9));
  EXPECT_TRUE(isTrue(call("closeMic")));
  for (int64_t answer : {3, -1, 0}) {
    standin::setAnswer("getScreenShareState", code(answer));
    EXPECT_EQ(call("getScreenShareState"), air::Value(int32_t(0))) << answer;
  }
  for (int64_t answer : {1, 2}) {
    standin::setAnswer("getScreenShareState", code(answer));
    EXPECT_EQ(call("getScreenShareState"), air::Value(int32_t(answer)));
  }
}

TEST_F(BrisoraDevices, VolumeTraces) {
  traceOn();
  consoleText();
  call("setPlayerVolume", {int32_t(50)});
  call("setMicVolume", {int32_t(50)});
  call("setSystemVoiceInputVolume", {int32_t(-3)});
  call("getMicVolume");
  EXPECT_EQ(consoleText(),
            "\nBrisora:setPlayerVolume\n\nBrisora:setMicVolume:50\n\nBrisora:setSystemVoiceInputVolume:-3\n"
            "\nBrisora:getMicVolume\n");
  EXPECT_THAT(calls(), ElementsAre("setPlayerVolume(50)", "setMicVolume(50)", "setSystemVoiceInputVolume(-3)",
                                   "getMicVolume()"));
}

TEST_F(BrisoraDevices, SystemSoundAndSkinGrades) {
  EXPECT_TRUE(isTrue(call("openSystemVoiceInput", {std::string()})));
  EXPECT_TRUE(isTrue(call("openSystemVoiceInput", {std::string("C:\\player.exe")})));
  EXPECT_TRUE(isNull(call("closeSystemVoiceInput")));
  standin::setAnswer("setSkinSmoothGrade", code(0));
  standin::setAnswer("setSkinWhitenessGrade", code(1));
  EXPECT_TRUE(isTrue(call("setSkinSmoothGrade", {int32_t(5)})));
  EXPECT_TRUE(isFalse(call("setSkinWhitenessGrade", {int32_t(6)})));
  EXPECT_THAT(calls(), ElementsAre("openSystemVoiceInput(\"\")", "openSystemVoiceInput(\"C:\\\\player.exe\")",
                                   "closeSystemVoiceInput()", "setSkinSmoothGrade(5)", "setSkinWhitenessGrade(6)"));
}

TEST_F(BrisoraDevices, ListingsGiveBackEverythingTheSdkAllocated) {
  standin::setAnswer("getCameraList", devices({"Cam A", "Cam B"}, {"id-a", "id-b"}));
  standin::setAnswer("getMicList", devices({"Mic"}, {"m"}));
  const uint64_t before = standin::allocStats().live;
  call("getCameraNames");
  call("openCamera", {int32_t(1)});
  call("openCamera", {int32_t(9)});
  call("openMic", {int32_t(0)});
  standin::setAnswer("openCamera", throws());
  call("openCamera", {int32_t(0)});
  const standin::AllocStats after = standin::allocStats();
  EXPECT_EQ(after.live, before);
  EXPECT_EQ(after.wrongFrees, 0u);
  EXPECT_EQ(after.doubleFrees, 0u);
}

}  // namespace
}  // namespace brisora_b_test
