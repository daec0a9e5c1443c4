// Rooms and streams: createRoom, joinRoom, changeRole, quitRoom, the stream
// requests, and the completion handlers that report room outcomes as events.
#include <cstdint>
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "ilive/brisora.h"
#include "ilive/codes.h"
#include "ilive/sdk_call.h"
#include "ilive/functions.h"
#include "ilive/manager.h"
#include "ilive/sdk/ilive.h"

namespace brisora {
namespace {

// ---- Completion handlers (SDK thread; the SDK's arguments are not read) ----

// Prints the handler's line and raises code with "complete" or "error".
void report(const char* line, const std::string LiveManager::*code, bool success) {
  core::inHandler([&] {
    std::printf("\n%s", line);
    LiveManager& manager = LiveManager::instance();
    manager.context.raise(manager.*code, success ? manager.complete : manager.error);
  });
}

void onCreateRoomSuc(void*) { report("OniLiveCreateRoomSuc", &LiveManager::createroom, true); }
void onCreateRoomErr(int32_t, const ilive::SdkString&, void*) {
  report("OniLiveCreateRoomErr", &LiveManager::createroom, false);
}
void onJoinRoomSuc(void*) { report("OniLiveJoinRoomSuc", &LiveManager::joinroom, true); }
void onJoinRoomErr(int32_t, const ilive::SdkString&, void*) {
  report("OniLiveJoinRoomErr", &LiveManager::joinroom, false);
}
void onChangeRoleSuc(void*) { report("OnChangeRoleSuc", &LiveManager::changerole, true); }
void onChangeRoleErr(int32_t, const ilive::SdkString&, void*) {
  report("OnChangeRoleErr", &LiveManager::changerole, false);
}
void onQuitRoomSuc(void*) { report("OnQuitRoomComplete", &LiveManager::quitroom, true); }
void onQuitRoomErr(int32_t, const ilive::SdkString&, void*) { report("OnQuitRoomErr", &LiveManager::quitroom, false); }

constexpr ilive::SuccessHandler kEmptySuccess = &emptyHandler;
constexpr ilive::ErrorHandler kEmptyError = &emptyHandler;

// What createRoom and joinRoom read from ActionScript.
struct RoomArgs {
  uint32_t roomId;
  std::string controlRole;
  std::string privateMapKey;
  bool autoRequest;
  bool autoCamera;
  bool autoAudio;
};

// The room record; createRoom and joinRoom differ only in field 6.
ilive::RoomOption roomOption(const RoomArgs& room, bool join) {
  ilive::RoomOption option;
  option.roomType = 1;
  option.roomId = room.roomId;
  option.authBits = join ? 0xAA : -1;
  if (!room.privateMapKey.empty()) option.privateMapKey = toSdkString(room.privateMapKey);
  option.controlRole = toSdkString(room.controlRole);
  option.roomDisconnectHandler = static_cast<ilive::RoomDisconnectHandler>(&emptyHandler);
  option.roomDisconnectData = nullptr;
  option.memberEventHandler = &onMemberEvent;
  option.memberEventData = nullptr;
  option.qualityHandler = &onQuality;
  option.qualityData = nullptr;
  option.timeoutMs = 3000;
  option.autoRequestCamera = room.autoRequest;
  option.autoRequestScreen = room.autoRequest;
  option.autoRequestMediaFile = room.autoRequest;
  option.autoRequestAudio = room.autoRequest;
  option.autoCamera = room.autoCamera;
  option.autoSpeaker = room.autoAudio;
  option.autoMic = room.autoAudio;
  return option;
}

// createRoom and joinRoom: the outcome comes as an event, and the call ends
// without a value, also when the SDK throws.
FREObject enterRoom(FREContext ctx, uint32_t argc, FREObject argv[], bool join) {
  core::Args args(argc, argv);
  const RoomArgs room{args.uint32(0),  args.string(1),  args.string(2),
                      args.boolean(3), args.boolean(4), args.boolean(5)};

  // Both functions print the word "createRoom"; the room number goes through %d.
  std::printf("\n%s%s,%d,%s  -------auto cam/ %i:%i \n", kPrefix, "createRoom", static_cast<int32_t>(room.roomId),
              room.controlRole.c_str(), room.autoCamera ? 1 : 0, room.autoAudio ? 1 : 0);

  core::ask([&] {
    ilive::iLive* live = GetILive();
    // Installed again on every call; never removed.
    live->setLocalVideoHandler(&onLocalVideo, ctx);
    live->setDeviceOperationHandler(&onDeviceOperation, ctx);
    live->setDeviceDetectHandler(&onDeviceDetect, ctx);
    const ilive::RoomOption option = roomOption(room, join);
    if (join)
      live->joinRoom(option, &onJoinRoomSuc, &onJoinRoomErr, ctx);
    else
      live->createRoom(option, &onCreateRoomSuc, &onCreateRoomErr, ctx);
  });
  return nullptr;
}

// requestStream and cancelStream: one (user, kind) pair, kinds other than the
// screen and the media file sent as the camera.
FREObject streamRequest(uint32_t argc, FREObject argv[], bool cancel) {
  core::Args args(argc, argv);
  const std::string userId = args.string(0);
  const int32_t kind = args.int32(1);
  debugMode.print("\n%s%s,%s--%i\n", kPrefix, "requestStream", userId.c_str(), kind);
  const int32_t mapped = (kind == kScreen || kind == kMediaFile) ? kind : kCamera;

  ilive::SdkVector<ilive::StreamRequest> list;
  list.push_back(ilive::StreamRequest{toSdkString(userId), mapped});
  // The user data is never read by the empty handlers; it names the call.
  char tag[] = "requeststream";
  char cancelTag[] = "cancelstream";
  return core::newBool(core::ask([&] {
    if (cancel) {
      GetILive()->cancelStreams(list, kEmptySuccess, kEmptyError, cancelTag);
    } else {
      GetILive()->requestStreams(list, kEmptySuccess, kEmptyError, tag);
    }
  }));
}

}  // namespace

ANE_FUNCTION(createRoom) {
  return enterRoom(ctx, argc, argv, false);
}

ANE_FUNCTION(joinRoom) {
  return enterRoom(ctx, argc, argv, true);
}

ANE_FUNCTION(changeRole) {
  core::Args args(argc, argv);
  const std::string role = args.string(0);
  debugMode.print("\n%s%s,%s\n", kPrefix, "ChangeRole", role.c_str());
  return core::newBool(core::ask([&] {
    GetILive()->changeRole(role.c_str(), &onChangeRoleSuc, &onChangeRoleErr, ctx);
  }));
}

ANE_FUNCTION(quitRoom) {
  return core::newBool(core::ask([&] { GetILive()->quitRoom(&onQuitRoomSuc, &onQuitRoomErr, ctx, 1); }));
}

ANE_FUNCTION(requestStream) {
  return streamRequest(argc, argv, false);
}

ANE_FUNCTION(cancelStream) {
  return streamRequest(argc, argv, true);
}

ANE_FUNCTION(cancelAllStream) {
  char tag[] = "cancelallstream";
  return core::newBool(core::ask([&] { GetILive()->cancelAllStreams(kEmptySuccess, kEmptyError, tag); }));
}

}  // namespace brisora
