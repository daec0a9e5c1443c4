// Rooms and streams, as ActionScript and the SDK see them.
#include <string>
#include <vector>

#include "brisora_b_fixture.h"

namespace brisora_b_test {
namespace {

using ::testing::ElementsAre;
namespace standin = ilive::standin;

using BrisoraRooms = BrisoraSession;

const std::vector<std::string> kHooks = {
    "setLocalVideoHandler(localVideo, ptr)",
    "setDeviceOperationHandler(deviceOperation, ptr)",
    "setDeviceDetectHandler(deviceDetect, ptr)",
};

TEST_F(BrisoraRooms, CreateAndJoinFillTheRecordAndInstallTheHooksEveryTime) {
  EXPECT_TRUE(isNull(call("createRoom", {1234u, std::string("Guest"), std::string(), true, false, true})));
  std::vector<std::string> expected = kHooks;
  expected.push_back(
      "createRoom({1, 1234, 1, \"\", true, -1, \"Guest\", \"\", false, true, true, 3000, true, true, true, true, \"\", "
      "false, roomDisconnect, null, memberEvent, null, quality, null}, success, error, ptr)");
  EXPECT_EQ(calls(), expected);

  // joinRoom differs in field 6 and the operation, and prints "createRoom" too.
  EXPECT_TRUE(isNull(call("joinRoom", {1234u, std::string("Guest"), std::string("k"), false, true, false})));
  expected = kHooks;
  expected.push_back(
      "joinRoom({1, 1234, 1, \"\", true, 170, \"Guest\", \"k\", true, false, false, 3000, false, false, false, false, "
      "\"\", false, roomDisconnect, null, memberEvent, null, quality, null}, success, error, ptr)");
  EXPECT_EQ(calls(), expected);

  EXPECT_EQ(consoleText(),
            "\nBrisora:createRoom,1234,Guest  -------auto cam/ 0:1 "
            "\n\nBrisora:createRoom,1234,Guest  -------auto cam/ 1:0 \n");
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraRooms, RoomNumberAboveIntRangeIsSentUnchangedButPrintedNegative) {
  call("createRoom", {3000000000u, std::string("r"), std::string(), false, false, false});
  const auto room = callsOf("createRoom");
  ASSERT_EQ(room.size(), 1u);
  EXPECT_EQ(room[0].rfind("createRoom({1, 3000000000, ", 0), 0u) << room[0];
  EXPECT_NE(consoleText().find("createRoom,-1294967296,r"), std::string::npos);
}

TEST_F(BrisoraRooms, MissingArgumentsGoAheadWithNeutralValues) {
  EXPECT_TRUE(isNull(call("joinRoom")));
  const auto room = callsOf("joinRoom");
  ASSERT_EQ(room.size(), 1u);
  EXPECT_EQ(room[0].rfind("joinRoom({1, 0, 1, \"\", true, 170, \"\", \"\", false, false, false, 3000, false,", 0), 0u)
      << room[0];
}

TEST_F(BrisoraRooms, CompletionHandlersPrintAndRaiseOneEventEach) {
  struct Case {
    const char* function;
    std::vector<air::Value> args;
    const char* operation;
    bool success;
    const char* line;
    air::Event event;
  };
  const std::vector<air::Value> room = {1u, std::string("r"), std::string(), false, false, false};
  const Case cases[] = {
      {"createRoom", room, "createRoom", true, "\nOniLiveCreateRoomSuc", {"createroom", "complete"}},
      {"createRoom", room, "createRoom", false, "\nOniLiveCreateRoomErr", {"createroom", "error"}},
      {"joinRoom", room, "joinRoom", true, "\nOniLiveJoinRoomSuc", {"joinroom", "complete"}},
      {"joinRoom", room, "joinRoom", false, "\nOniLiveJoinRoomErr", {"joinroom", "error"}},
      {"changeRole", {std::string("LiveGuest")}, "changeRole", true, "\nOnChangeRoleSuc", {"changerole", "complete"}},
      {"changeRole", {std::string("LiveGuest")}, "changeRole", false, "\nOnChangeRoleErr", {"changerole", "error"}},
      {"quitRoom", {}, "quitRoom", true, "\nOnQuitRoomComplete", {"quitroom", "complete"}},
      {"quitRoom", {}, "quitRoom", false, "\nOnQuitRoomErr", {"quitroom", "error"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    call(c.function, c.args);
    consoleText();
    ASSERT_TRUE(standin::complete(c.operation, c.success, -7, "reason the SDK gives"));
    EXPECT_THAT(waitEvents(1), ElementsAre(c.event));
    EXPECT_EQ(consoleText(), c.line);
  }
}

TEST_F(BrisoraRooms, ChangeRoleAndQuitRoomAnswerFalseOnlyWhenTheSdkThrows) {
  traceOn();
  consoleText();
  EXPECT_TRUE(isTrue(call("changeRole", {std::string("Host")})));
  EXPECT_TRUE(isTrue(call("quitRoom")));
  EXPECT_THAT(calls(), ElementsAre("changeRole(\"Host\", success, error, ptr)", "quitRoom(success, error, ptr, 1)"));
  EXPECT_EQ(consoleText(), "\nBrisora:ChangeRole,Host\n");

  standin::setAnswer("changeRole", throws());
  standin::setAnswer("quitRoom", throws());
  EXPECT_TRUE(isFalse(call("changeRole", {std::string("Host")})));
  EXPECT_TRUE(isFalse(call("quitRoom")));
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraRooms, StreamKindsOtherThanTwoAndThreeAreSentAsTheCamera) {
  traceOn();
  consoleText();
  const int32_t kinds[] = {0, 1, 4, -1, 2, 3};
  const int32_t sent[] = {1, 1, 1, 1, 2, 3};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_TRUE(isTrue(call("requestStream", {std::string("u1"), kinds[i]})));
    EXPECT_THAT(calls(), ElementsAre("requestStreams([{\"u1\", " + std::to_string(sent[i]) +
                                     "}], success, error, ptr)"));
    EXPECT_EQ(consoleText(), "\nBrisora:requestStream,u1--" + std::to_string(kinds[i]) + "\n");
  }
  // cancelStream prints the word "requestStream" too.
  EXPECT_TRUE(isTrue(call("cancelStream", {std::string("u2"), int32_t(7)})));
  EXPECT_THAT(calls(), ElementsAre("cancelStreams([{\"u2\", 1}], success, error, ptr)"));
  EXPECT_EQ(consoleText(), "\nBrisora:requestStream,u2--7\n");
  EXPECT_TRUE(isTrue(call("cancelAllStream")));
  EXPECT_THAT(calls(), ElementsAre("cancelAllStreams(success, error, ptr)"));

  // Stream operations are fire-and-forget: their handlers raise nothing.
  ASSERT_TRUE(standin::complete("requestStreams", false));
  ASSERT_TRUE(standin::complete("cancelAllStreams", true));
  EXPECT_TRUE(events().empty());

  for (const char* op : {"requestStreams", "cancelStreams", "cancelAllStreams"}) standin::setAnswer(op, throws());
  EXPECT_TRUE(isFalse(call("requestStream", {std::string("u1"), int32_t(1)})));
  EXPECT_TRUE(isFalse(call("cancelStream", {std::string("u1"), int32_t(1)})));
  EXPECT_TRUE(isFalse(call("cancelAllStream")));
}

TEST_F(BrisoraRooms, SdkExceptionFromCreateRoomReachesNobody) {
  standin::setAnswer("createRoom", throws());
  EXPECT_TRUE(isNull(call("createRoom", {1u, std::string("r"), std::string(), false, false, false})));
  EXPECT_TRUE(events().empty());
}

}  // namespace
}  // namespace brisora_b_test
