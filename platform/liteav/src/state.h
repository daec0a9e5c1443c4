// The LiteAV stand-in's inner header: the one process-wide state object, its
// threads, the call log and the scripted answers, and what its files call of
// each other. The files: state.cpp (state, log, text forms), cloud.cpp,
// devices.cpp and players.cpp (the SDK objects and their exports, objects.h),
// commands.cpp (the command language, commands.h), frames.cpp,
// notifications.cpp, holds.cpp (deliveries held in flight), room.cpp (the
// simulated room), exports.cpp (the control exports).
//
// Threads and protection:
// - State::mutex guards the call log, the scripts, the objects' bookkeeping and
//   the simulated room's settings.
// - State::delivery guards the registrations: a delivery takes it shared only
//   to look up the callback it will call, a change of a registration (add /
//   remove callback, render callbacks, destroy) takes it exclusively. No lock
//   is held while a callback runs, so, as with a real SDK, a delivery already
//   under way may still reach a callback after its removal (or the instance's
//   destruction) has returned.
// - Callbacks run on the stand-in's workers: "events" (cloud notifications),
//   "local" (local big-stream frames), "screen" (other local frames) and four
//   "remote" workers (remote frames, by user and stream); a held delivery
//   (`hold`, holds.cpp) on a thread of its own.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>
#include <vector>

#include "standin_common/call_text.h"
#include "standin_common/task_thread.h"
#include "trtc/sdk/liteav.h"

// What the library exports: the SDK's entry points and the control functions.
#if defined(_WIN32)
#define LITEAV_EXPORT extern "C" __declspec(dllexport)
#else
#define LITEAV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace liteav_standin {

// One thread running posted tasks in order; a task that throws is dropped
// without a word.
using Worker = standin_common::TaskThread;

// A scripted answer for one operation.
struct Answer {
  bool null = false;       // return null (objects, texts)
  bool raise = false;      // throw std::runtime_error(message)
  std::string message;
  bool hasCode = false;
  int64_t code = 0;        // return codes and numeric results
  bool hasText = false;
  std::string text;        // texts (version, current device name)
  bool hasList = false;
  std::vector<std::string> list;  // device names
  std::vector<std::string> ids;   // device ids (default "<kind>-<index>")
  bool hasCount = false;
  int64_t count = 0;       // overrides the count a collection reports
};

using AnswerPtr = std::shared_ptr<const Answer>;

struct Source {
  int32_t type = 0;
  int32_t id = 0;
  std::string name;
  int32_t thumbWidth = -1;   // -1: the requested thumbnail size
  int32_t thumbHeight = -1;
  int64_t thumbLength = -1;  // -1: width x height x 4
  bool noThumb = false;
};

struct RenderRegistration {
  TRTCVideoPixelFormat format = TRTCVideoPixelFormat_Unknown;
  TRTCVideoBufferType bufferType = TRTCVideoBufferType_Unknown;
  ITRTCVideoRenderCallback* callback = nullptr;
};

class Cloud;
class Pusher;
class LivePlayer;
class VodPlayer;

struct State {
  State();
  static State& get();

  std::mutex mutex;
  std::shared_mutex delivery;

  std::vector<std::string> calls;             // guarded by mutex
  // Told right after each call is logged, on the logging thread; guarded by mutex.
  void (*callListener)(void*) = nullptr;
  void* callListenerData = nullptr;
  std::map<std::string, AnswerPtr> answers;   // guarded by mutex
  std::vector<Source> sources;                // guarded by mutex
  std::map<std::string, int> objectCounts;    // guarded by mutex: numbering per kind

  // Registrations, guarded by delivery (and read under it while delivering).
  Cloud* cloud = nullptr;
  std::vector<ITRTCCloudCallback*> cloudCallbacks;
  RenderRegistration localRender;
  std::map<std::string, RenderRegistration> remoteRenders;
  ITRTCAudioFrameCallback* audioFrames = nullptr;
  std::map<int, Pusher*> pushers;  // by number; guarded by delivery
  // What a destroyed pusher or VOD player last had registered, by number: a
  // notification already on its way out of an SDK thread still reaches it
  // (guarded by delivery).
  std::map<int, std::pair<ITXLivePusherCallback*, void*>> departedPushers;
  // What the cloud's last instance let go of (removeCallback, a render
  // callback replaced or removed, destroyTRTCShareInstance), for the `late`
  // commands: a callback already on its way out of an SDK thread. Forgotten
  // when a new instance is made (a delivery held with `hold` still calls what
  // it took, whatever happened meanwhile).
  std::vector<ITRTCCloudCallback*> departedCloudCallbacks;
  RenderRegistration departedLocalRender;
  std::map<std::string, RenderRegistration> departedRemoteRenders;
  std::map<int, ITXVodPlayerCallback*> departedVodPlayers;
  std::map<int, VodPlayer*> vodPlayers;
  std::map<int, LivePlayer*> livePlayers;
  // Objects still alive at a reset: the extension may still hold them, so
  // they are kept (never freed) but no longer reachable by number.
  std::vector<void*> orphans;

  Worker events;   // cloud notifications
  Worker local;    // local big-stream frames
  Worker screen;   // local frames of the other streams
  Worker remote[4];  // remote frames, by user and stream
  Worker& remoteFor(const std::string& userId, int streamType);

  // Simulated room (guarded by mutex).
  bool roomRunning = false;
  bool inRoom = false;
  bool previewOn = false;
  bool screenOn = false;
  uint32_t volumeInterval = 0;
  int64_t enteredAtMs = 0;
  // `local-id on`: local frames without an id of their own carry the user id
  // of the last enterRoom (guarded by mutex).
  bool localIdInFrames = false;
  std::string enteredUserId;
  std::thread roomThread;
  std::condition_variable roomWake;

  void log(const std::string& line);
  // The scripted answer of an operation, or null; throws when told to.
  AnswerPtr answer(const std::string& op);
  int number(const std::string& kind);
  void resetLocked();
};

// Call-log text forms (the plain ones are shared with the other SDK stand-in).
using standin_common::boolText;
using standin_common::bytesText;
using standin_common::pointerText;
using standin_common::quote;
std::string paramsText(const TRTCParams& p);
std::string encText(const TRTCVideoEncParam& p);
std::string sizeText(const TXSize& s);
std::string rectText(const TXRect& r);
std::string sourceText(const TRTCScreenCaptureSourceInfo& s);

// A BGRA test picture: colour bars that move with `frame`, `marks` white
// squares in the top left corner, and a frame counter bar at the bottom.
// (frames.cpp)
void drawPattern(uint8_t* bgra, uint32_t width, uint32_t height, uint32_t frame, int marks);

// Commands (commands.cpp).
bool command(const std::string& line, std::string* error);

// Room simulation hooks called by the cloud operations (room.cpp).
void roomOnEnter();
void roomOnExit();
void roomOnSpeedTest();

// The stand-in objects' constructors (cloud.cpp).
Cloud* newCloud();
void deleteCloud(Cloud* cloud);

// Under State::delivery (players.cpp): the callbacks registered with a pusher / VOD player.
ITXLivePusherCallback* pusherCallback(Pusher* pusher, void** userData);
ITXVodPlayerCallback* vodCallback(VodPlayer* player);
}  // namespace liteav_standin
