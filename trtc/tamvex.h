// Tamvex, the AIR native extension over the TRTC / LiteAV SDK. What lives in trtc/:
//   entry.cpp            the library's entry points and context finalizer
//   manager.h/.cpp       RtcManager, the state functions and SDK callbacks share
//   function_table.*     the 85 named functions in the order the runtime sees them
//   functions.h          their declarations, grouped by the file that holds them
//   sdk_call.h           how a function reaches the SDK (the call edge)
//   sdk_loader.cpp       loading liteav.dll from the LiteAV folder, releasing the cloud
//   startup.cpp rooms.cpp frames.cpp screen_capture.cpp devices.cpp diagnostics.cpp
//   players.cpp          one file per group of functions
//   callbacks.h cloud_callback.cpp player_callbacks.*   the SDK's callback objects
//   video_codes.h devices.h   code sets and device lists that several files share
//   sdk/                 everything taken from liteav.dll
// The frame path, events, argument reading and the guards live in core/.
//
// This header: what the files share, the console prefix, the trace switch,
// the SDK's entry points and the disposal hooks of the handle families.
// Everything here is used on the AIR main thread only, but the trace switch.
#pragma once

#include "core/trace.h"
#include "trtc/sdk/liteav.h"

namespace tamvex {

// The prefix of the extension's formatted console lines.
constexpr const char* kPrefix = "Tamvex:";

// On when initTRTCSdk asked for tracing.
extern core::TraceSwitch debugMode;
// Prints "\n " + name when tracing.
inline void traceCall(const char* name) { debugMode.print("\n %s", name); }

// The eight exports of liteav.dll. Stored by every load, never cleared, so the
// pusher and player families keep working after dispose; any may be null.
struct SdkEntryPoints {
  GetTRTCShareInstanceFn getTRTCShareInstance = nullptr;
  DestroyTRTCShareInstanceFn destroyTRTCShareInstance = nullptr;
  CreateTXLivePusherFn createTXLivePusher = nullptr;
  DestroyTXLivePusherFn destroyTXLivePusher = nullptr;
  CreateTXLivePlayerFn createTXLivePlayer = nullptr;
  DestroyTXLivePlayerFn destroyTXLivePlayer = nullptr;
  CreateTXVodPlayerFn createTXVodPlayer = nullptr;
  DestroyTXVodPlayerFn destroyTXVodPlayer = nullptr;
};
const SdkEntryPoints& sdk();

// The cloud instance, loading liteav.dll and registering the cloud callback on
// first use (sdk_loader.cpp). Null when the library or getTRTCShareInstance is
// missing (the next call tries again); callers then answer a neutral value.
ITRTCCloud* loadTrtcCloud();

// Releases the cloud instance as dispose does: releaseScreenList(), unregister
// the cloud callback, destroyTRTCShareInstance, clear the pointers.
void releaseCloud();

// Disposal hooks of the other files (main thread):
// forgets every pusher, live player and VOD player handle (dispose);
void forgetHandles();
// releases and clears the kept screen-capture source list before the instance
// it came from is destroyed.
void releaseScreenList();

}  // namespace tamvex
