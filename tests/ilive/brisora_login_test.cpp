// The entry points (table, context lifecycle), start-up and login.
#include "brisora_session.h"

namespace brisora_test {
namespace {

using BrisoraEntry = BrisoraSession;
using BrisoraLogin = BrisoraSession;
using BrisoraInRoomLifetime = BrisoraInRoom;

TEST_F(BrisoraEntry, TableHas68FunctionsInOrder) {
  const std::vector<std::string> names = context_->functionNames();
  ASSERT_EQ(68u, names.size());
  EXPECT_EQ("initRtmpLiveSdk", names.front());
  EXPECT_EQ("iLiveLoginOut", names[7]);
  EXPECT_EQ("getVideoData", names[14]);
  EXPECT_EQ("fillExternalCaptureByteFrame", names[22]);
  EXPECT_EQ("isInited", names[62]);
  EXPECT_EQ("quitRoom", names[64]);
  EXPECT_EQ("keepScreenOn", names.back());
}

TEST_F(BrisoraEntry, FinalizerPrintsItsLineWithTracesOffAndReleasesTheSdk) {
  context_->dispose();
  EXPECT_EQ("\nBrisora:,BrisoraContextFinalizer\xA3\xBAGetILive()->release()", console());
  EXPECT_EQ(std::vector<std::string>{"releaseSdk(null, null, null)"}, sdkCalls());
}

TEST_F(BrisoraEntry, FinalizerSurvivesAThrowingRelease) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  sdk("throw releaseSdk");
  context_->dispose();
  EXPECT_NE(std::string::npos, console().find("BrisoraContextFinalizer"));
}

TEST_F(BrisoraEntry, ASecondContextGetsTheEventsAfterTheFirstIsFinalized) {
  call("initILiveSdk", {1400, 0, 0, 0});
  context_->dispose();
  context_ = extension_->createContext();
  call("iLiveLogin", {std::string("u1"), std::string("sig"), 0, std::string("")});
  sdk("login-result ok");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("ilivelogin", "complete")});
  // The pool was emptied: a screen frame makes a renderer that raises on the new context.
  call("initILiveSdk", {1400, 0, 0, 0});
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(events(), std::vector<air::Event>{event("video", "u2||4||4||0||0||2")});
}

// The SDK's release completes on its own time: frames keep coming meanwhile.
// None of them may leave a renderer behind that raises on the finished
// context, or the next context would never hear of that stream.
TEST_F(BrisoraInRoomLifetime, FramesWhileTheSdkWindsDownLeaveNothingOnTheFinishedContext) {
  sdk("member 3 \"me\"");  // the local camera announced
  sdk("frame local \"me\" kind=1 format=rgb24 4x4");
  EXPECT_EQ(2u, waitEvents(2).size());  // "addvideo" and "video"
  air::Context& first = *context_;
  first.dispose();  // the finalizer: releaseSdk asked, not yet completed
  sdk("frame local \"me\" kind=1 format=rgb24 4x4");
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  sdk("complete releaseSdk ok");
  EXPECT_EQ(0u, air::eventsAfterFinalize()) << "an event went to the finished context";

  std::unique_ptr<air::Context> old = std::move(context_);
  context_ = extension_->createContext();
  call("initILiveSdk", {1400, 0, 0, 0});
  loginAs("me");
  enterRoom();
  sdk("member 3 \"me\"");
  sdk("frame local \"me\" kind=1 format=rgb24 4x4");
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(waitEvents(3), (std::vector<air::Event>{event("addvideo", "me||1"), event("video", "me||4||4||0||0||1"),
                                                     event("video", "u2||4||4||0||0||2")}));
  EXPECT_EQ(0u, old->droppedEvents());
  EXPECT_EQ(0u, air::eventsAfterFinalize());
}

// A second context made while the first lives takes over every stream.
TEST_F(BrisoraInRoomLifetime, EveryRendererRaisesOnTheNewestContext) {
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("video", "u2||4||4||0||0||2")});
  std::unique_ptr<air::Context> second = extension_->createContext();
  sdk("frame remote \"u2\" kind=2 format=rgb24 4x4");
  EXPECT_EQ(second->waitForEvents(1, std::chrono::seconds(5)),
            std::vector<air::Event>{event("video", "u2||4||4||0||0||2")});
  EXPECT_TRUE(events().empty());
  second->dispose();
}

// Pixel memory: two frames while a stream runs, none once its renderer is
// unbound; a camera announced again keeps its renderer.
TEST_F(BrisoraInRoomLifetime, UnboundRenderersHoldNoPixelsAndReannouncedCamerasKeepTheirs) {
  sdk("member 3 \"u1\"");
  sdk("frame remote \"u1\" kind=1 format=rgb24 8x8");
  sdk("frame remote \"u1\" kind=1 format=rgb24 8x8");
  sdk("member 3 \"u1\"");  // announced again
  sdk("frame remote \"u1\" kind=1 format=rgb24 8x8");
  waitEvents(5);
  air::Value pulled = std::make_shared<air::ByteArray>();
  call("getVideoData", {pulled, std::string("u1"), 1});
  EXPECT_EQ(8u * 8u * 4u, std::get<std::shared_ptr<air::ByteArray>>(pulled)->bytes.size());
  const std::string log = console();
  EXPECT_EQ(std::string::npos, log.find("init Create")) << "a second renderer was taken for u1";
  sdk("member 4 \"u1\"");  // camera off: the one renderer of u1 is released
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("novideo", "u1||1")});
  call("getVideoData", {air::Value(std::make_shared<air::ByteArray>()), std::string("u1"), 1});
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("ilivesdk_error", "u1||1||not get videoRander")})
      << "u1 still has a renderer: the second announcement took another one";
}

TEST_F(BrisoraEntry, ExceptionsFromUnguardedSdkCallsEndTheCallWithNull) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  sdk("throw setLogPath");
  EXPECT_TRUE(isNull(call("setLogPath", {std::string("C:\\logs")})));
  sdk("throw login");
  EXPECT_TRUE(isNull(call("iLiveLogin", {std::string("u1"), std::string("s"), 0, std::string("")})));
}

TEST_F(BrisoraLogin, TraceSwitchPrintsTheModeAndSilencesDebugTraces) {
  EXPECT_TRUE(as<bool>(call("initRtmpLiveSdk", {true})));
  EXPECT_EQ("\nBrisora:initRtmpLiveSdk Mode: - debug", console());
  call("setChannelMode", {1u, std::string("x")});
  EXPECT_EQ("\nBrisora:setChannelMode", console());

  EXPECT_TRUE(as<bool>(call("initRtmpLiveSdk", {false})));
  EXPECT_EQ("\nBrisora:initRtmpLiveSdk Mode: - release", console());
  call("setChannelMode", {1u, std::string("x")});
  call("iLiveLogin", {std::string("u1"), std::string("s"), 0, std::string("")});
  EXPECT_EQ("", console());

  // A failed conversion leaves the switch as it was.
  call("initRtmpLiveSdk", {true});
  call("initRtmpLiveSdk", {std::string("no")});
  EXPECT_EQ("\nBrisora:initRtmpLiveSdk Mode: - debug\nBrisora:initRtmpLiveSdk Mode: - debug", console());
}

TEST_F(BrisoraLogin, StartUpWithoutRootViewSelectsPacked24Bit) {
  call("initRtmpLiveSdk", {true});
  console();
  sdk("answer getVersion text=\"1.9.6\"");
  EXPECT_TRUE(as<bool>(call("initILiveSdk", {1400, 36862, std::string("x"), 0})));
  EXPECT_EQ((std::vector<std::string>{"setForceOfflineHandler(forceOffline, ptr)",
                                      "setNetworkNoticeHandler(networkNotice)",
                                      "setRemoteVideoHandler(remoteVideo, ptr)", "setVideoColorFormat(8)",
                                      "init(1400, 1, 0)", "getVersion()"}),
            sdkCalls());
  EXPECT_EQ(
      "\nBrisora:initILiveSdk,1400,36862\nBrisora:VideoColorFormat,COLOR_FORMAT_RGB24"
      "\nBrisora:initILiveSdk Version:,1.9.6",
      console());
  EXPECT_TRUE(as<bool>(call("isInited")));
}

TEST_F(BrisoraLogin, StartUpWithAD3DRootViewSelectsI420) {
  call("initRtmpLiveSdk", {true});
  console();
  sdk("answer getViewType code=1");
  EXPECT_TRUE(as<bool>(call("initILiveSdk", {1400, 1, 0, 1})));
  EXPECT_EQ((std::vector<std::string>{"setForceOfflineHandler(forceOffline, ptr)",
                                      "setNetworkNoticeHandler(networkNotice)",
                                      "setRemoteVideoHandler(remoteVideo, ptr)", "iLiveCreateRootView()",
                                      "getViewType()", "getViewType()", "setVideoColorFormat(0)", "destroyRootView()",
                                      "init(1400, 1, 0)", "getVersion()"}),
            sdkCalls());
  EXPECT_NE(std::string::npos, console().find("\nBrisora:VideoColorFormat,ROOT_VIEW_TYPE_D3D"));

  // A view of another type renders packed 24-bit.
  sdk("answer getViewType code=0");
  call("initILiveSdk", {1400, 1, 0, 1});
  const auto calls = sdkCalls();
  EXPECT_NE(std::find(calls.begin(), calls.end(), "setVideoColorFormat(8)"), calls.end());
}

// The probe's root view is released however the probe ends: the SDK throwing
// while the view is asked, or while the format is set, loses no view.
TEST_F(BrisoraLogin, StartUpReleasesTheRootViewWhenTheProbeThrows) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  for (const char* op : {"getViewType", "setVideoColorFormat"}) {
    SCOPED_TRACE(op);
    standin::setAnswer(op, throws());
    call("initILiveSdk", {1400, 1, 0, 1});
    const std::vector<std::string> calls = sdkCalls();
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "iLiveCreateRootView()"));
    EXPECT_EQ(1, std::count(calls.begin(), calls.end(), "destroyRootView()"));
    standin::clearAnswer(op);
  }
}

TEST_F(BrisoraLogin, FailingStartUpAnswersFalseWithoutTheVersionLine) {
  call("initRtmpLiveSdk", {true});
  console();
  sdk("answer init code=-1");
  EXPECT_FALSE(as<bool>(call("initILiveSdk", {1400, 1, 0, 0})));
  const std::string text = console();
  EXPECT_EQ(std::string::npos, text.find("Version"));
  EXPECT_EQ("init(1400, 1, 0)", sdkCalls().back());
}

TEST_F(BrisoraLogin, StartUpAnswersFalseWhenTheSdkThrows) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  call("initRtmpLiveSdk", {true});  // the version is asked for its trace line
  sdk("throw init");
  EXPECT_FALSE(as<bool>(call("initILiveSdk", {1400, 1, 0, 0})));
  sdk("clear init");
  sdk("throw getVersion");
  EXPECT_FALSE(as<bool>(call("initILiveSdk", {1400, 1, 0, 0})));
}

TEST_F(BrisoraLogin, LoginAndLogoutOutcomesArriveAsEventsWithTheirLines) {
  call("initRtmpLiveSdk", {true});
  console();
  EXPECT_TRUE(as<bool>(call("iLiveLogin", {std::string("u1"), std::string("sig"), 0, std::string("extra")})));
  EXPECT_EQ("\nBrisora:iLiveLogin,u1,sig", console());
  EXPECT_EQ(std::vector<std::string>{"login(\"u1\", \"sig\", success, error, ptr, \"extra\")"}, sdkCalls());
  EXPECT_TRUE(events().empty());
  sdk("login-result ok");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("ilivelogin", "complete")});
  EXPECT_EQ("\nOniLiveLoginSuccess", console());

  call("iLiveLoginWithSpear", {std::string("u2"), std::string("sig2"), 1, std::string("spear")});
  EXPECT_EQ("\nBrisora:iLiveLogin,u2,sig2", console());
  EXPECT_EQ(std::vector<std::string>{"loginWithSpear(\"u2\", \"sig2\", \"spear\", success, error, ptr)"},
            sdkCalls());
  sdk("login-result error 70001 \"expired\"");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("ilivelogin", "error")});
  EXPECT_EQ("\nOniLiveLoginError", console());

  EXPECT_TRUE(isNull(call("iLiveLoginOut")));
  EXPECT_EQ(std::vector<std::string>{"logout(success, error, ptr)"}, sdkCalls());
  sdk("logout-result ok");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("iliveloginout", "complete")});
  call("iLiveLoginOut");
  sdk("logout-result error");
  EXPECT_EQ(waitEvents(1), std::vector<air::Event>{event("iliveloginout", "error")});
  EXPECT_EQ("\nOniLiveLoginOutSuccess\nOniLiveLoginOutError", console());
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraLogin, QueriesAnswerFalseWhenTheSdkThrows) {
  SKIP_WITHOUT_SDK_EXCEPTIONS();
  sdk("answer isLogin code=1");
  sdk("answer isInited code=1");
  EXPECT_TRUE(as<bool>(call("isLogin")));
  EXPECT_TRUE(as<bool>(call("isInited")));
  sdk("throw isLogin");
  sdk("throw isInited");
  EXPECT_FALSE(as<bool>(call("isLogin")));
  EXPECT_FALSE(as<bool>(call("isInited")));
}

TEST_F(BrisoraLogin, LogPathVersionAndChannelModeReachTheSdk) {
  sdk("answer setLogPath code=0");
  EXPECT_FALSE(as<bool>(call("setLogPath", {std::string("C:\\log")})));
  sdk("answer getVersion text=\"2.0.1\"");
  EXPECT_EQ("2.0.1", as<std::string>(call("getSdkVersion")));
  sdk("answer setChannelMode code=5");
  EXPECT_TRUE(as<bool>(call("setChannelMode", {7u, std::string("mode")})));
  EXPECT_TRUE(as<bool>(call("setChannelMode", {0u})));
  EXPECT_EQ((std::vector<std::string>{"setLogPath(\"C:\\\\log\")", "getVersion()",
                                      "setChannelMode(true, \"mode\")", "setChannelMode(false, \"\")"}),
            sdkCalls());
}

// Fresh renderers are bound to nobody (user "", kind -1): a frame request for
// that pair finds one while the pool still holds an unbound renderer, which
// shows how many the login prepared.
TEST_F(BrisoraLogin, LoginPreparesTheRendererPool) {
  call("initILiveSdk", {1400, 0, 0, 0});
  loginAs("me", 0);
  enterRoom();
  auto ba = std::make_shared<air::ByteArray>();
  auto unboundLeft = [&] {
    call("getVideoData", {ba, std::string(""), -1});
    return events().empty();
  };
  auto announce = [&](const std::string& user) {
    sdk("member 3 \"" + user + "\"");
    waitEvents(1);
  };
  EXPECT_TRUE(unboundLeft());
  announce("a");
  EXPECT_TRUE(unboundLeft());
  announce("b");
  EXPECT_FALSE(unboundLeft());  // 2 renderers

  loginAs("me", 3);  // grows to 5: three more unbound
  announce("c");
  announce("d");
  EXPECT_TRUE(unboundLeft());
  announce("e");
  EXPECT_FALSE(unboundLeft());

  loginAs("me", 0);  // the pool is larger than 2: left alone
  EXPECT_FALSE(unboundLeft());
  loginAs("me", -5);
  EXPECT_FALSE(unboundLeft());
}

TEST_F(BrisoraLogin, AHugeStreamCountDoesNotExhaustMemory) {
  EXPECT_TRUE(as<bool>(call("iLiveLogin", {std::string("me"), std::string("s"), 2000000000, std::string("")})));
  // count + 2 wraps in 32 bits: the minimum of 2.
  EXPECT_TRUE(as<bool>(call("iLiveLogin", {std::string("me"), std::string("s"), 2147483647, std::string("")})));
}

}  // namespace
}  // namespace brisora_test
