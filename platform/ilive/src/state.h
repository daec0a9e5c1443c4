// Internal state of the iLive SDK stand-in, shared by its source files:
// standin.cpp (call log, scripted answers, handlers, the SDK thread),
// live.cpp (the SDK object's operations), room.cpp (test pictures, sample
// statistics, the simulated room), commands.cpp (the command language),
// allocator.cpp (iliveMalloc / iliveFree).
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ilive/sdk/ilive.h"
#include "ilive_standin/standin.h"
#include "standin_common/call_text.h"

namespace ilive::standin {

// ---- Call-log argument formatting: one text per argument ----
using standin_common::quote;  // also used by the other SDK stand-in
std::string fmt(const SdkString& s);
std::string fmt(const char* s);
std::string fmt(bool v);
std::string fmt(int32_t v);
std::string fmt(uint32_t v);
std::string fmt(int64_t v);
std::string fmt(uint64_t v);
std::string fmtPtr(const void* p);                       // "ptr" or "null"
std::string fmtHandler(const void* fn, const char* name);  // the parameter's name, or "null"
std::string fmtBytes(const void* data, uint32_t size);     // "<N bytes>" or "null"
std::string fmt(const RoomOption& o);
std::string fmt(const VideoFrame& f);
std::string fmt(const CustomData& d);
std::string fmt(const SdkVector<StreamRequest>& list);

template <class F>
const void* fnAddr(F f) {
  return reinterpret_cast<const void*>(f);
}

// Logs "op(args...)" and returns the scripted answer of op (throwing when
// scripted to throw). Every operation's body starts with this.
Answer logCall(const char* op, std::initializer_list<std::string> args);
// Remembers the bytes of an operation's buffer (lastBytes, received); with a
// frame, its format and size as well.
void keepBytes(const char* op, const void* data, uint32_t size, const VideoFrame* frame = nullptr);

// Installed handlers and pending completions, guarded by mutex.
struct Completion {
  SuccessHandler onSuccess = nullptr;
  ErrorHandler onError = nullptr;
  void* data = nullptr;
};

struct Hooks {
  NoticeHandler forceOffline = nullptr;
  void* forceOfflineData = nullptr;
  BareNoticeHandler networkNotice = nullptr;
  VideoFrameHandler remoteVideo = nullptr;
  void* remoteVideoData = nullptr;
  VideoFrameHandler localVideo = nullptr;
  void* localVideoData = nullptr;
  DeviceOperationHandler deviceOperation = nullptr;
  void* deviceOperationData = nullptr;
  DeviceDetectHandler deviceDetect = nullptr;
  void* deviceDetectData = nullptr;
  RoomDisconnectHandler roomDisconnect = nullptr;
  void* roomDisconnectData = nullptr;
  MemberEventHandler memberEvent = nullptr;
  void* memberEventData = nullptr;
  QualityHandler quality = nullptr;
  void* qualityData = nullptr;
  std::map<int32_t, std::pair<AudioDataHandler, void*>> audio;  // by audio data kind
  iLiveLocalRecordDelegate* recordDelegate = nullptr;
};

struct StateData {
  Hooks hooks;
  // The handlers as they were when a completed releaseSdk forgot them: a
  // `late` command delivers to these, as a callback already on its way when
  // the SDK was released.
  Hooks departedHooks;
  std::map<std::string, Completion> pending;  // by operation
  bool autoComplete = false;
  bool inited = false;
  bool loggedIn = false;
  bool inRoom = false;
  std::string loginUser;       // user id of the last login call
  std::string loggedInUser;    // user id of the last successful login
  int32_t colorFormat = COLOR_FORMAT_I420;
  bool cameraOpen = false;
  bool micOpen = false;
  bool speakerOpen = false;
  int32_t screenShareState = 0;
  bool systemVoiceOn = false;
  uint32_t micVolume = 50;
  uint32_t playerVolume = 50;
  uint32_t systemVoiceVolume = 50;
  int32_t mediaState = 0;
  int64_t mediaPosition = 0;
};

struct State : StateData {
  std::mutex mutex;  // guards every member of StateData
};

State& state();
// The scripted answer of op, when one is set (no logging).
bool scriptedAnswer(const std::string& op, Answer* out);

// Records the handlers of an asynchronous operation; with auto-complete on,
// queues their success on the SDK thread.
void addPending(const std::string& op, SuccessHandler onSuccess, ErrorHandler onError, void* data);
// Queues fn on the SDK thread without waiting.
void postToSdkThread(std::function<void()> fn);

// Room state changes made by completions (login, room) that the simulated room follows.
void onCompleted(const std::string& op, bool success);
void forgetHandlers();
// True while a `late` command runs on this thread: deliveries go to the
// departed handlers.
bool& lateDelivery();
// Remembers which of createRoom / joinRoom was called last (room-result).
void noteRoomOperation(const std::string& op);

}  // namespace ilive::standin
