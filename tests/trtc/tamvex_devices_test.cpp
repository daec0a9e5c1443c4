// Device lists, selection by position, current devices and volumes; screen
// sources, thumbnails and the choice of a capture target.
#include <algorithm>

#include "tamvex_session.h"

#include "code_page.h"
#include "time_limit.h"

namespace tamvex_test {
namespace {

class TamvexDevices : public TamvexSession {};
class TamvexScreen : public TamvexSession {};

bool has(const V& lines, const S& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

TEST_F(TamvexDevices, ListsJoinNamesInCollectionOrderAndReleaseTheCollection) {
  sdk("answer getCameraDevicesList list=\"A\"");
  EXPECT_EQ(call("getCameraDevicesList"), air::Value(S("A")));
  sdk("answer getCameraDevicesList list=\"A\",\"B\"");
  EXPECT_EQ(call("getCameraDevicesList"), air::Value(S("A||B")));
  sdk("answer getSpeakerDevicesList list=");
  EXPECT_EQ(call("getSpeakerDevicesList"), air::Value(S("")));
  sdk("answer getMicDevicesList null");
  EXPECT_EQ(call("getMicDevicesList"), air::Value(S("")));
  // A count that lies past the names ends the list at the last name.
  sdk("answer getCameraDevicesList list=\"A\" count=3");
  EXPECT_EQ(call("getCameraDevicesList"), air::Value(S("A")));
  const V log = sdkCalls();
  // The stand-in numbers the objects of each kind from 1.
  EXPECT_TRUE(has(log, "CameraList1.release()"));
  EXPECT_TRUE(has(log, "CameraList2.release()"));
  EXPECT_TRUE(has(log, "SpeakerList1.release()"));
  EXPECT_TRUE(has(log, "CameraList3.release()"));

#if !defined(_WIN32)  // the stand-in cannot throw across DLLs there
  // A collection that fails half-way answers empty text and is still released.
  sdk("answer getCameraDevicesList list=\"A\",\"B\"");
  sdk("throw CameraList4.getDeviceName");
  EXPECT_EQ(call("getCameraDevicesList"), air::Value(S("")));
  EXPECT_TRUE(has(sdkCalls(), "CameraList4.release()"));
#endif
}

// A long list is converted and joined in time linear in its length: 1,000
// names of 4 KB (some 15 ms here, 450 ms when every name was converted for
// the console too); with the trace on (the console's form of each name) too.
TEST_F(TamvexDevices, LongListsAreJoinedQuickly) {
  S name(4096, 'n');
  name.replace(1, 3, "\xE9\xBA\xA6");  // a character of three bytes
  S line = "answer getCameraDevicesList list=";
  for (int i = 0; i < 1000; ++i) line += S(i ? "," : "") + "\"" + name + "\"";
  sdk(line);
  for (bool trace : {false, true}) {
    call("initTRTCSdk", {trace});
    console();
    air::Value joined;
    const long long ms = ane_test::millisecondsOf([&] { joined = call("getCameraDevicesList"); });
    const S* text = std::get_if<S>(&joined);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->size(), 1000u * 4096 + 999 * 2);
    EXPECT_EQ(text->substr(4096, 5), "||n\xE9\xBA");
    EXPECT_LT(ms, ane_test::timeLimit(std::chrono::milliseconds(trace ? 1000 : 200)).count()) << trace;
    EXPECT_EQ(console().size() > 3 * 1000u * 4096, trace);
  }
}

// Names come back as the SDK's UTF-8 on every ANSI code page; the trace keeps
// the code page 936 form (where "\xC3\xB6" has no character); bytes that are
// not UTF-8 never reach ActionScript.
TEST_F(TamvexDevices, NamesKeepTheirTextOnEveryAnsiCodePage) {
  const S german = "Mikrofon f\xC3\xBCr Kopfh\xC3\xB6rer";
  const S chinese = "\xE9\xBA\xA6\xE5\x85\x8B\xE9\xA3\x8E";  // 麦克风
  sdk("answer getMicDevicesList list=\"" + german + "\",\"" + chinese + "\"");
  for (unsigned codePage : {1252u, 936u}) {
    if (!ane_test::useAnsiCodePage(codePage)) continue;
    EXPECT_EQ(call("getMicDevicesList"), air::Value(german + "||" + chinese)) << codePage;
  }
  ane_test::useAnsiCodePage(1252);
  call("initTRTCSdk", {true});
  console();
  call("getMicDevicesList");
  EXPECT_EQ(console(), "\n getMicDevicesList\n Tamvex: getMicDevicesList= Mikrofon f\xA8\xB9r Kopfh?rer||\xC2\xF3\xBF\xCB\xB7\xE7");

  sdk("answer getSpeakerDevicesList list=\"bad\\xFFname\"");
  EXPECT_EQ(call("getSpeakerDevicesList"), air::Value(S("bad\xEF\xBF\xBDname")));
  sdk("answer getCurrentSpeakerDevice text=\"x\\xC3\"");
  EXPECT_EQ(call("getCurrentSpeakerDevice"), air::Value(S("x\xEF\xBF\xBD")));
}

TEST_F(TamvexDevices, SelectionTakesThePositionInAFreshCollection) {
  sdk("answer getMicDevicesList list=\"A\",\"B\" ids=\"a-id\",\"b-id\"");
  EXPECT_EQ(call("getMicDevicesList"), air::Value(S("A||B")));
  sdk("answer getMicDevicesList list=\"C\",\"D\" ids=\"c-id\",\"d-id\"");
  sdkCalls();
  EXPECT_EQ(call("setCurrentMicDevice", {1}), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"getMicDevicesList()", "MicList2.getCount()", "MicList2.getDevicePID(1)",
                        "setCurrentMicDevice(\"d-id\")", "MicList2.release()"}));

  // Outside the collection nothing is selected and the answer says so.
  EXPECT_EQ(call("setCurrentMicDevice", {2}), air::Value(false));
  EXPECT_EQ(call("setCurrentMicDevice", {-1}), air::Value(false));
  sdk("answer getCameraDevicesList null");
  EXPECT_EQ(call("setCurrentCameraDevice", {0}), air::Value(false));
  for (const S& line : sdkCalls()) EXPECT_EQ(line.find("setCurrent"), S::npos) << line;
}

TEST_F(TamvexDevices, CurrentDevicesAndVolumes) {
  call("initTRTCSdk", {true});
  console();
  sdk("answer getCurrentCameraDevice text=\"Cam\"");
  EXPECT_EQ(call("getCurrentCameraDevice"), air::Value(S("Cam")));
  EXPECT_EQ(console(), "");  // the one device function without a trace
  EXPECT_EQ(call("getCurrentMicDevice"), air::Value(S("Stand-in Microphone")));
  EXPECT_EQ(console(), "\n getCurrentMicDevice");
  sdk("answer getCurrentSpeakerDevice null");
  EXPECT_EQ(call("getCurrentSpeakerDevice"), air::Value(S("")));
  const V log = sdkCalls();
  EXPECT_TRUE(has(log, "CurrentCamera1.release()"));
  EXPECT_TRUE(has(log, "CurrentMic1.release()"));

  sdk("answer getCurrentMicDeviceVolume value=4294967295");
  EXPECT_EQ(call("getCurrentMicDeviceVolume"), air::Value(4294967295u));
  EXPECT_EQ(call("getCurrentSpeakerVolume"), air::Value(60u));
  EXPECT_EQ(call("setCurrentSpeakerVolume", {-1}), air::Value(true));
  EXPECT_EQ(call("setCurrentMicDeviceVolume", {}), air::Value(true));
  EXPECT_EQ(sdkCalls(), (V{"getCurrentMicDeviceVolume()", "getCurrentSpeakerVolume()",
                        "setCurrentSpeakerVolume(4294967295)", "setCurrentMicDeviceVolume(0)"}));
}

TEST_F(TamvexScreen, SourcesAreListedWithTypeCodesAndConsoleLines) {
  sdk("sources clear");
  sdk("source 100 1 \"first name\"");
  sdk("source 200 5 \"second name\"");
  EXPECT_EQ(call("getScreenCaptureSources", {160, 90, 32, 32}),
            air::Value(S("100|-|1|-|first name||200|-|-1|-|second name")));
  EXPECT_EQ(console(), "\n getScreenCaptureSources:id:100 , type=1, first name"
                       "\n getScreenCaptureSources:id:200 , type=-1, second name");
  EXPECT_EQ(sdkCalls().front(), "getScreenCaptureSources({160, 90}, {32, 32})");

  // A new listing releases the old list; an empty one gives empty text.
  sdk("sources clear");
  EXPECT_EQ(call("getScreenCaptureSources", {160, 90, 32, 32}), air::Value(S("")));
  EXPECT_TRUE(has(sdkCalls(), "SourceList1.release()"));
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {100, std::make_shared<air::ByteArray>()}), air::Value());
}

TEST_F(TamvexScreen, BeforeAnyListingThumbAndSelectAnswerFalse) {
  auto bytes = std::make_shared<air::ByteArray>();
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {1, bytes}), air::Value(false));
  EXPECT_EQ(call("selectScreenCaptureTarget", {1, 0, 0, 0, 0, true, true}), air::Value(false));
  EXPECT_EQ(console(), "\n screenList not init\n screenList not init");
  EXPECT_EQ(sdkCalls(), V{});
}

TEST_F(TamvexScreen, ThumbnailsAreCopiedWithinTheirOwnBytes) {
  sdk("sources clear");
  sdk("source 7 0 \"full\" thumb=160x90");
  sdk("source 8 1 \"short\" thumb=4x2 thumb-length=8");
  sdk("source 9 1 \"none\" thumb=4x2 no-thumb");
  call("getScreenCaptureSources", {160, 90, 0, 0});

  auto bytes = std::make_shared<air::ByteArray>();
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {7, bytes}), air::Value(S("160||90")));
  ASSERT_EQ(bytes->bytes.size(), 160u * 90u * 4u);
  EXPECT_NE(std::count(bytes->bytes.begin(), bytes->bytes.end(), 0), long(bytes->bytes.size()));

  for (int id : {8, 9}) {
    bytes->bytes.assign(40, 0xEE);
    EXPECT_EQ(call("getScreenCaptureTargetThumb", {id, bytes}), air::Value(S("4||2")));
    ASSERT_EQ(bytes->bytes.size(), 32u);
    const size_t copied = id == 8 ? 8 : 0;
    for (size_t i = copied; i < 32; ++i) ASSERT_EQ(bytes->bytes[i], 0) << "source " << id << " byte " << i;
  }

  bytes->bytes.assign(3, 0xEE);
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {12345, bytes}), air::Value());
  EXPECT_EQ(bytes->bytes, std::vector<uint8_t>(3, 0xEE));
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {7}), air::Value(S("160||90")));  // no ByteArray given
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {7, S("not a ByteArray")}), air::Value(S("160||90")));
}

TEST_F(TamvexScreen, OnlyAListedSourceCanBeSelected) {
  sdk("sources clear");
  sdk("source 100 1 \"desk\" thumb=2x2");
  sdk("source 200 0 \"notes\" thumb=2x2");
  call("getScreenCaptureSources", {2, 2, 0, 0});
  sdkCalls();
  EXPECT_EQ(call("selectScreenCaptureTarget", {300, 0, 0, 0, 0, false, false}), air::Value(false));
  for (const S& line : sdkCalls()) EXPECT_EQ(line.find("selectScreenCaptureTarget"), S::npos) << line;

  EXPECT_EQ(call("selectScreenCaptureTarget", {200, 1, 2, 3, 4, true, false}), air::Value(true));
  EXPECT_EQ(sdkCalls().back(),
            "selectScreenCaptureTarget({0, 200, \"notes\", {<16 bytes>, 16, 2, 2}, {null, 0, 0, 0}}, {1, 2, 3, 4}, "
            "true, false)");
  EXPECT_EQ(call("startScreenCapture"), air::Value(true));
  EXPECT_EQ(sdkCalls(), V{"startScreenCapture(null)"});
}

TEST_F(TamvexScreen, DisposeReleasesTheListBeforeTheInstanceGoes) {
  sdk("source 100 1 \"desk\"");
  call("getScreenCaptureSources", {8, 8, 0, 0});
  sdkCalls();
  call("dispose");
  const V log = sdkCalls();
  const auto released = std::find(log.begin(), log.end(), "SourceList1.release()");
  const auto destroyed = std::find(log.begin(), log.end(), "destroyTRTCShareInstance()");
  ASSERT_NE(released, log.end());
  ASSERT_NE(destroyed, log.end());
  EXPECT_LT(released, destroyed);
  console();
  EXPECT_EQ(call("getScreenCaptureTargetThumb", {100, std::make_shared<air::ByteArray>()}), air::Value(false));
  EXPECT_EQ(console(), "\n screenList not init");
}

}  // namespace
}  // namespace tamvex_test
