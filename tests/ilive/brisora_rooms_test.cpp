// Rooms and streams, as ActionScript and the SDK see them.
#include "brisora_session.h"

namespace brisora_test {
namespace {

using BrisoraRooms = BrisoraSession;

TEST_F(BrisoraRooms, CreateAndJoinFillTheRecordAndInstallTheHooksEveryTime) {
  const char* hooks[] = {"setLocalVideoHandler(localVideo, ptr)", "setDeviceOperationHandler(deviceOperation, ptr)",
                         "setDeviceDetectHandler(deviceDetect, ptr)"};
  EXPECT_EQ(call("createRoom", {1234u, text("Guest"), text(""), true, false, true}), kNull);
  EXPECT_THAT(sdkCalls(), ElementsAre(hooks[0], hooks[1], hooks[2],
                                   "createRoom({1, 1234, 1, \"\", true, -1, \"Guest\", \"\", false, true, true, 3000, "
                                   "true, true, true, true, \"\", false, roomDisconnect, null, memberEvent, null, "
                                   "quality, null}, success, error, ptr)"));
  // joinRoom: 170 in field 6, a room number above 2^31 sent as it is, a
  // one-character third argument copied; its line says "createRoom" too.
  EXPECT_EQ(call("joinRoom", {3000000000u, text("Guest"), text("k"), false, true, false}), kNull);
  EXPECT_THAT(sdkCalls(), ElementsAre(hooks[0], hooks[1], hooks[2],
                                   "joinRoom({1, 3000000000, 1, \"\", true, 170, \"Guest\", \"k\", true, false, false, "
                                   "3000, false, false, false, false, \"\", false, roomDisconnect, null, memberEvent, "
                                   "null, quality, null}, success, error, ptr)"));
  EXPECT_EQ(console(),
            "\nBrisora:createRoom,1234,Guest  -------auto cam/ 0:1 "
            "\n\nBrisora:createRoom,-1294967296,Guest  -------auto cam/ 1:0 \n");

  if (kSdkThrowsReachBrisora) {
    standin::setAnswer("createRoom", throws());  // no exception reaches the runtime
    EXPECT_EQ(call("createRoom", {1u, text("r"), text(""), false, false, false}), kNull);
    EXPECT_TRUE(events().empty());
  }
}

TEST_F(BrisoraRooms, EachCompletionPrintsItsLineAndRaisesOneEvent) {
  const std::vector<air::Value> room = {1u, text("r"), text(""), false, false, false};
  struct Case {
    const char* function;
    std::vector<air::Value> args;
    bool success;
    const char* line;
    air::Event event;
  } cases[] = {
      {"createRoom", room, true, "\nOniLiveCreateRoomSuc", {"createroom", "complete"}},
      {"createRoom", room, false, "\nOniLiveCreateRoomErr", {"createroom", "error"}},
      {"joinRoom", room, true, "\nOniLiveJoinRoomSuc", {"joinroom", "complete"}},
      {"joinRoom", room, false, "\nOniLiveJoinRoomErr", {"joinroom", "error"}},
      {"changeRole", {text("Guest")}, true, "\nOnChangeRoleSuc", {"changerole", "complete"}},
      {"changeRole", {text("Guest")}, false, "\nOnChangeRoleErr", {"changerole", "error"}},
      {"quitRoom", {}, true, "\nOnQuitRoomComplete", {"quitroom", "complete"}},
      {"quitRoom", {}, false, "\nOnQuitRoomErr", {"quitroom", "error"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    call(c.function, c.args);
    console();
    ASSERT_TRUE(standin::complete(c.function, c.success, -7, "the SDK's reason"));
    EXPECT_THAT(waitEvents(1), ElementsAre(c.event));
    EXPECT_EQ(console(), c.line);
  }
  EXPECT_THAT(sdkCalls(), testing::Contains("quitRoom(success, error, ptr, 1)"));
  if (kSdkThrowsReachBrisora) {
    standin::setAnswer("changeRole", throws());
    EXPECT_EQ(call("changeRole", {text("Guest")}), kFalse);
  }
}

TEST_F(BrisoraRooms, StreamKindsOtherThanTwoAndThreeAreSentAsTheCamera) {
  traceOn();
  const int32_t kinds[] = {0, 1, 4, -1, 2, 3};
  const int32_t sent[] = {1, 1, 1, 1, 2, 3};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(call("requestStream", {text("u1"), kinds[i]}), kTrue);
    EXPECT_THAT(sdkCalls(), ElementsAre("requestStreams([{\"u1\", " + std::to_string(sent[i]) + "}], success, error, ptr)"));
    EXPECT_EQ(console(), "\nBrisora:requestStream,u1--" + std::to_string(kinds[i]) + "\n");
  }
  EXPECT_EQ(call("cancelStream", {text("u2"), int32_t(7)}), kTrue);  // its line says "requestStream"
  EXPECT_EQ(console(), "\nBrisora:requestStream,u2--7\n");
  EXPECT_EQ(call("cancelAllStream"), kTrue);
  EXPECT_THAT(sdkCalls(), ElementsAre("cancelStreams([{\"u2\", 1}], success, error, ptr)",
                                   "cancelAllStreams(success, error, ptr)"));
  // Fire-and-forget: their handlers raise nothing; only a throw gives false.
  ASSERT_TRUE(standin::complete("requestStreams", false));
  EXPECT_TRUE(events().empty());
  if (kSdkThrowsReachBrisora) {
    standin::setAnswer("cancelStreams", throws());
    EXPECT_EQ(call("cancelStream", {text("u1"), int32_t(1)}), kFalse);
  }
}

}  // namespace
}  // namespace brisora_test
