// Live pushers, live players and VOD players behind integer handles.
//
// A handle is the index of the object in the list of its kind; destroying an
// object empties its entry, and handles are never reused until dispose, which
// forgets every entry (without destroying the objects) and starts again at 0.
// The create and destroy entry points are the ones loadTrtcCloud looked up; no
// call goes through a missing one, and a create that yields nothing answers -1.
//
// State: the three lists and the callback objects. Owner: the AIR main thread
// (every function here and dispose); no lock. The SDK calls the callback
// objects on its own threads. Before an object is destroyed its callback is
// taken back (setCallback(null)), but a notification already on its way out of
// an SDK thread may still run during or after the destroy: so every callback
// is kept, never freed by destroy, until the extension's state is torn down
// when the library is unloaded. The callbacks of objects forgotten by dispose
// stay registered with them and are kept the same way.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/args.h"
#include "core/results.h"
#include "trtc/codes.h"
#include "trtc/devices.h"
#include "trtc/functions.h"
#include "trtc/player_callbacks.h"
#include "trtc/manager.h"
#include "trtc/sdk_call.h"

namespace tamvex {
namespace {

using core::Args;

struct PusherEntry {
  ITXLivePusher* pusher = nullptr;
  std::unique_ptr<ANEITXLivePusherCallback> callback;
};

struct VodEntry {
  ITXVodPlayer* player = nullptr;
  std::unique_ptr<ANEITXVodPlayerCallback> callback;
};

std::vector<PusherEntry> pushers;           // main thread only
std::vector<ITXLivePlayer*> livePlayers;    // main thread only
std::vector<VodEntry> vodPlayers;           // main thread only
// Callbacks still registered with objects that were never destroyed.
std::vector<std::unique_ptr<ITXLivePusherCallback>> keptPusherCallbacks;  // main thread only
std::vector<std::unique_ptr<ITXVodPlayerCallback>> keptVodCallbacks;      // main thread only

template <class List>
bool inList(const List& list, int32_t handle) {
  return handle >= 0 && static_cast<size_t>(handle) < list.size();
}

ITXLivePusher* pusherAt(int32_t handle) { return inList(pushers, handle) ? pushers[handle].pusher : nullptr; }
ITXLivePlayer* livePlayerAt(int32_t handle) { return inList(livePlayers, handle) ? livePlayers[handle] : nullptr; }
ITXVodPlayer* vodPlayerAt(int32_t handle) { return inList(vodPlayers, handle) ? vodPlayers[handle].player : nullptr; }

// Destroys an SDK object through its entry point; true when the SDK took it.
template <class T, class Destroy>
bool destroyObject(Destroy destroy, T* object) {
  if (!destroy) return false;
  T* copy = object;
  return core::ask([&] { destroy(&copy); });
}

// The handle of a new entry: the list length before it is appended.
template <class List>
int32_t nextHandle(const List& list) {
  return static_cast<int32_t>(list.size());
}

// A pusher setting: true whether or not the handle names a pusher; false only
// when the pusher itself failed.
template <class Call>
FREObject withPusher(int32_t handle, Call&& call) {
  ITXLivePusher* pusher = pusherAt(handle);
  if (!pusher) return core::newBool(true);
  return core::newBool(core::ask([&] { call(*pusher); }));
}

// A VOD control: false when the handle names no player or the player failed.
template <class Call>
FREObject withVodPlayer(int32_t handle, Call&& call) {
  ITXVodPlayer* player = vodPlayerAt(handle);
  if (!player) return core::newBool(false);
  return core::newBool(core::ask([&] { call(*player); }));
}

void traceVod(const char* function, int32_t handle) {
  debugMode.print("\n %s url:%i", function, handle);
}

}  // namespace

void forgetHandles() {
  for (PusherEntry& entry : pushers)
    if (entry.callback) keptPusherCallbacks.push_back(std::move(entry.callback));
  for (VodEntry& entry : vodPlayers)
    if (entry.callback) keptVodCallbacks.push_back(std::move(entry.callback));
  std::vector<PusherEntry>().swap(pushers);
  std::vector<ITXLivePlayer*>().swap(livePlayers);
  std::vector<VodEntry>().swap(vodPlayers);
}

// ---- live pushers ----

ANE_FUNCTION(TXLivePusher_createTXLivePusher) {
  const CreateTXLivePusherFn create = sdk().createTXLivePusher;
  if (!create) return core::newInt32(kNoObject);
  ITXLivePusher* pusher = nullptr;
  if (!core::ask([&] { pusher = create(); }) || !pusher) return core::newInt32(kNoObject);
  const int32_t handle = nextHandle(pushers);
  PusherEntry entry;
  entry.pusher = pusher;
  entry.callback.reset(new ANEITXLivePusherCallback(&RtcManager::instance()));
  ANEITXLivePusherCallback* callback = entry.callback.get();
  pushers.push_back(std::move(entry));
  // Should the registration fail, the pusher works without notifications; the
  // callback stays owned by the entry until the pusher is destroyed.
  core::ask([&] { pusher->setCallback(callback, reinterpret_cast<void*>(static_cast<intptr_t>(handle))); });
  return core::newInt32(handle);
}

ANE_FUNCTION(TXLivePusher_destroyTXLivePusher) {
  const int32_t handle = Args(argc, argv).int32(0);
  if (ITXLivePusher* pusher = pusherAt(handle)) {
    PusherEntry& entry = pushers[handle];
    core::ask([&] { pusher->setCallback(nullptr, nullptr); });
    destroyObject(sdk().destroyTXLivePusher, pusher);
    if (entry.callback) keptPusherCallbacks.push_back(std::move(entry.callback));  // may still be called
    entry.pusher = nullptr;
  }
  return core::newUint32(static_cast<uint32_t>(pushers.size()));
}

ANE_FUNCTION(TXLivePusher_startPush) {
  Args args(argc, argv);
  ITXLivePusher* pusher = pusherAt(args.int32(0));
  const std::string url = args.string(1);
  bool started = false;
  if (pusher) core::ask([&] { started = pusher->startPush(url.c_str()); });
  return core::newBool(started);
}

ANE_FUNCTION(TXLivePusher_stopPush) {
  return withPusher(Args(argc, argv).int32(0), [](ITXLivePusher& p) { p.stopPush(); });
}

ANE_FUNCTION(TXLivePusher_startAudioCapture) {
  return withPusher(Args(argc, argv).int32(0), [](ITXLivePusher& p) { p.startAudioCapture(1); });
}

ANE_FUNCTION(TXLivePusher_stopAudioCapture) {
  return withPusher(Args(argc, argv).int32(0), [](ITXLivePusher& p) { p.stopAudioCapture(); });
}

ANE_FUNCTION(TXLivePusher_getMicDevicesList) {
  ITXLivePusher* pusher = pusherAt(Args(argc, argv).int32(0));
  std::string names;
  if (pusher) {
    const bool listed = core::ask([&] {
      SdkReleaser<ITRTCDeviceCollection> collection(pusher->getMicDevicesList());
      if (!collection) return;
      std::printf("\nTXLivePusher_getMicDevicesList:count = %i", static_cast<int>(collection->getCount()));
      names = deviceNames(*collection.get()).utf8;
    });
    if (!listed) names.clear();
  }
  return core::newString(names);
}

ANE_FUNCTION(TXLivePusher_selectMicDevice) {
  Args args(argc, argv);
  const int32_t handle = args.int32(0);
  const int32_t index = args.int32(1);
  return withPusher(handle, [&](ITXLivePusher& p) { p.selectMicDevice(index); });
}

ANE_FUNCTION(TXLivePusher_setMute) {
  Args args(argc, argv);
  const int32_t handle = args.int32(0);
  const bool mute = args.boolean(1);
  return withPusher(handle, [&](ITXLivePusher& p) { p.setMute(mute); });
}

ANE_FUNCTION(TXLivePusher_micVolume) {
  ITXLivePusher* pusher = pusherAt(Args(argc, argv).int32(0));
  int32_t volume = -1;
  if (pusher && !core::ask([&] { volume = pusher->micVolume(); })) volume = -1;
  return core::newInt32(volume);
}

ANE_FUNCTION(TXLivePusher_setMicVolume) {
  Args args(argc, argv);
  const int32_t handle = args.int32(0);
  const int32_t volume = args.int32(1);
  return withPusher(handle, [&](ITXLivePusher& p) { p.setMicVolume(volume); });
}

// ---- live players ----

ANE_FUNCTION(ITXLivePlayer_createTXLivePlayer) {
  const CreateTXLivePlayerFn create = sdk().createTXLivePlayer;
  if (!create) return core::newInt32(kNoObject);
  ITXLivePlayer* player = nullptr;
  if (!core::ask([&] { player = create(); }) || !player) return core::newInt32(kNoObject);
  const int32_t handle = nextHandle(livePlayers);
  livePlayers.push_back(player);
  return core::newInt32(handle);
}

ANE_FUNCTION(ITXLivePlayer_destroyTXLivePlayer) {
  const int32_t handle = Args(argc, argv).int32(0);
  if (ITXLivePlayer* player = livePlayerAt(handle)) {
    destroyObject(sdk().destroyTXLivePlayer, player);
    livePlayers[handle] = nullptr;
  }
  return core::newUint32(static_cast<uint32_t>(livePlayers.size()));
}

ANE_FUNCTION(ITXLivePlayer_startPlay) {
  Args args(argc, argv);
  ITXLivePlayer* player = livePlayerAt(args.int32(0));
  const std::string url = args.string(1);
  if (!player) return core::newBool(false);
  // The play code is not looked at; only a failure of the call itself is.
  return core::newBool(core::ask([&] { player->startPlay(url.c_str(), 1); }));
}

// ---- VOD players ----

ANE_FUNCTION(ITXVodPlayer_createTXVodPlayer) {
  Args args(argc, argv);
  const std::string url = args.string(0);
  const bool repeat = args.boolean(1);
  debugMode.print("\n ITXVodPlayer_createTXVodPlayer url:%s", url.c_str());
  const CreateTXVodPlayerFn create = sdk().createTXVodPlayer;
  if (!create) return core::newInt32(kNoObject);
  ITXVodPlayer* player = nullptr;
  if (!core::ask([&] { player = create(url.c_str(), repeat); }) || !player) return core::newInt32(kNoObject);
  const int32_t handle = nextHandle(vodPlayers);
  VodEntry entry;
  entry.player = player;
  entry.callback.reset(new ANEITXVodPlayerCallback(&RtcManager::instance()));
  ANEITXVodPlayerCallback* callback = entry.callback.get();
  vodPlayers.push_back(std::move(entry));
  core::ask([&] { player->setCallback(callback); });  // as for pushers
  return core::newInt32(handle);
}

ANE_FUNCTION(ITXVodPlayer_destroyTXVodPlayer) {
  const int32_t handle = Args(argc, argv).int32(0);
  traceVod("ITXVodPlayer_destroyTXVodPlayer", handle);
  if (ITXVodPlayer* player = vodPlayerAt(handle)) {
    VodEntry& entry = vodPlayers[handle];
    core::ask([&] { player->setCallback(nullptr); });
    destroyObject(sdk().destroyTXVodPlayer, player);
    if (entry.callback) keptVodCallbacks.push_back(std::move(entry.callback));  // may still be called
    entry.player = nullptr;
  }
  return core::newUint32(static_cast<uint32_t>(vodPlayers.size()));
}

ANE_FUNCTION(ITXVodPlayer_start) {
  const int32_t handle = Args(argc, argv).int32(0);
  traceVod("ITXVodPlayer_start", handle);
  return withVodPlayer(handle, [](ITXVodPlayer& p) { p.start(); });
}

ANE_FUNCTION(ITXVodPlayer_pause) {
  const int32_t handle = Args(argc, argv).int32(0);
  traceVod("ITXVodPlayer_pause", handle);
  return withVodPlayer(handle, [](ITXVodPlayer& p) { p.pause(); });
}

ANE_FUNCTION(ITXVodPlayer_resume) {
  const int32_t handle = Args(argc, argv).int32(0);
  traceVod("ITXVodPlayer_resume", handle);
  return withVodPlayer(handle, [](ITXVodPlayer& p) { p.resume(); });
}

ANE_FUNCTION(ITXVodPlayer_stop) {
  const int32_t handle = Args(argc, argv).int32(0);
  traceVod("ITXVodPlayer_stop", handle);
  return withVodPlayer(handle, [](ITXVodPlayer& p) { p.stop(); });
}

ANE_FUNCTION(ITXVodPlayer_seek) {
  Args args(argc, argv);
  const int32_t handle = args.int32(0);
  traceVod("ITXVodPlayer_seek", handle);
  const int64_t position = args.int32(1);
  return withVodPlayer(handle, [&](ITXVodPlayer& p) { p.seek(position); });
}

}  // namespace tamvex
