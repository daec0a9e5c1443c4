// Control of the iLive SDK stand-in, for tests and the host tool.
//
// The stand-in logs every operation the extension calls (takeCalls), answers
// as scripted (setAnswer / command "answer ..."), and delivers callbacks the
// way the SDK does: on a thread of its own, the caller waiting until the
// handler has returned. The text interface (command) is documented in
// docs/standin-ilive.md.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ilive/sdk/ilive.h"

namespace ilive::standin {

// ---- Allocator counters (iliveMalloc / iliveFree) ----
struct AllocStats {
  uint64_t allocations = 0;  // blocks handed out
  uint64_t frees = 0;        // blocks given back correctly
  uint64_t live = 0;         // blocks handed out and not yet freed
  uint64_t wrongFrees = 0;   // iliveFree of a pointer the SDK never handed out
  uint64_t doubleFrees = 0;  // iliveFree of a block already freed
};
AllocStats allocStats();

// ---- Call log ----
// The calls made since the last take, one line each: Operation(arg, arg, ...).
std::vector<std::string> takeCalls();
// listener(data) runs on the logging thread right after each call is logged
// (the host tool places the calls among the console output by it); null
// stops it.
void setCallListener(void (*listener)(void*), void* data);
// The bytes of the last byte buffer an operation was given (external frames,
// custom data); empty when none.
std::vector<uint8_t> lastBytes(const std::string& operation);
// What the last call of an operation handed over in a buffer: its bytes and,
// for a video frame record (fillExternalCaptureFrame), the frame's format and
// size. False when the operation was not called since the last reset.
struct Received {
  std::vector<uint8_t> bytes;
  bool frame = false;
  int32_t colorFormat = 0;
  uint32_t width = 0, height = 0;
};
bool received(const std::string& operation, Received* out);

// ---- Scripted answers (operation names are matched without regard to case) ----
struct Answer {
  std::optional<int64_t> code;       // return value (Booleans: non-zero is true)
  bool throws = false;               // throw a std::runtime_error instead
  std::optional<std::string> text;   // version text
  std::vector<std::string> names;    // device names / window titles of a listing
  std::vector<std::string> ids;      // device ids (default: the names)
  std::vector<int64_t> values;       // values written through references; window handles
};
void setAnswer(const std::string& operation, const Answer& answer);
// false where an exception thrown inside the SDK cannot reach the extension's
// catch: the Windows build links each DLL with its own static C++ runtime and
// unwinder, so a throw across DLLs ends the process. Tests that script a throw
// skip themselves there.
bool exceptionsCrossModules();
void clearAnswer(const std::string& operation);

// ---- Callbacks ----
// Runs fn on the stand-in's SDK thread and waits until it returned.
void runOnSdkThread(const std::function<void()>& fn);

// Fires the completion handlers of the most recent call of operation (login,
// loginWithSpear, logout, createRoom, joinRoom, changeRole, quitRoom,
// requestStreams, cancelStreams, cancelAllStreams, releaseSdk). false when
// that operation has no pending handlers.
bool complete(const std::string& operation, bool success, int32_t code = 0, const std::string& message = "");
// Completion handlers fire by themselves (success) right after each call.
void setAutoComplete(bool on);

// Each delivers on the SDK thread and waits, unless here is true: then the
// handler runs on the calling thread (for tests that play several SDK threads).
// false when no handler is installed.
bool memberEvent(int32_t event, const std::vector<std::string>& userIds, bool here = false);
bool remoteFrame(const VideoFrame& frame, bool here = false);
bool localFrame(const VideoFrame& frame, bool here = false);
bool statistics(const Statistics& stats, bool here = false);
bool deviceOperation(int32_t operation, int32_t result, bool here = false);
bool deviceDetect(bool here = false);
bool audioFrame(int32_t kind, const AudioFrame& frame, bool here = false);
bool roomDisconnect(int32_t reason, const std::string& message);
bool forceOffline();
bool networkNotice();
bool recordError(int32_t code, const std::string& message);
bool recorded(int32_t first, int32_t second, int32_t third, const std::string& path);

// The current colour format (setVideoColorFormat), the logged-in user, room state.
int32_t videoColorFormat();

// ---- Simulated room ----
// While started, and once logged in and in a room: local camera frames, two
// remote users with a moving test pattern, audio frames, and a statistics
// record every two seconds. Each remote user's camera, the local camera, and
// the member events with audio and statistics come from threads of their own
// (four threads), each delivering on its own thread.
// stopRoom (and releaseSdk) only tell the threads to stop: a delivery already
// under way may still run, and end, after it returned. The threads are joined
// by the next startRoom, by settleRoom and by reset.
void startRoom();
void stopRoom();
// Stops the room and waits until every delivery of its threads has ended.
// Call it before unloading the extension whose handlers the room may be in.
void settleRoom();

// ---- Holding a delivery in flight ----
// The next delivery to the handler slot `slot` ("memberEvent", "remoteVideo",
// "localVideo", "quality", "audio", "deviceOperation", "deviceDetect"),
// and, when `user` is not empty, for that user (a frame's identifier, any id
// of a member event, an audio frame's identifier), stops on the thread that
// delivers it, after it has read the installed handler and before it calls
// it, until releaseHeld. One hold at a time; a new one replaces one not yet taken.
void holdNextDelivery(const std::string& slot, const std::string& user = "");
// Waits until the armed hold has stopped a delivery; false when none did
// within timeoutMs.
bool waitUntilHeld(int timeoutMs);
// Lets a held delivery call its handler, or disarms a hold not taken yet.
void releaseHeld();

// A frame with a recognisable test pattern (colour bars, a moving square,
// seed-dependent marker). format 8: 3 bytes a pixel (blue, green, red);
// otherwise I420. The data lives in *storage.
VideoFrame makeFrame(const std::string& user, int32_t kind, int32_t format, uint32_t width, uint32_t height,
                     uint32_t tick, std::vector<uint8_t>* storage);
// A statistics record with sample values and count elements in each list.
Statistics makeStatistics(uint32_t count);

// ---- Text interface ----
// One line of the stand-in's command language; false with *error set when the
// line is not understood. A fired callback has returned when this returns.
bool command(const std::string& line, std::string* error);
// Adds a verb to the command language (for behaviour kept in other files).
using Verb = std::function<bool(const std::vector<std::string>& words, std::string* error)>;
void addVerb(const std::string& verb, Verb fn);

// Lets a held delivery go, settles the room (its threads joined), then
// forgets handlers, pending completions, answers, calls and room state.
void reset();

}  // namespace ilive::standin
