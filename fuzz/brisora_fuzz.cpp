// Brisora driven by hostile ActionScript calls and hostile iLive SDK events.
// Each input is one session: up to a few hundred operations, each a call of a
// function of the table with arguments of any count and type, an SDK event
// through the iLive stand-in (frames and audio in guarded buffers, on the SDK
// thread or the caller's), a scripted answer or throw, the simulated room, or
// a context dispose / extension reload.
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "air/host.h"
#include "fuzz_session.h"
#include "ilive_standin/standin.h"

namespace {

namespace standin = ilive::standin;
using fuzz::Input;

const std::vector<std::string> kWords = {"me", "u1", "sim-user-1", "sim-user-2", "user", "Host", "Guest",
                                         "LiveGuest", "/tmp/fuzz-none.mp4", "1234", "sig", "0", "-1", "||"};

// Operations that take completion handlers.
const char* const kCompletable[] = {"login",  "loginWithSpear",   "logout",  "createRoom",
                                    "joinRoom", "changeRole", "quitRoom", "requestStreams",
                                    "cancelStreams", "cancelAllStreams", "releaseSdk"};

// Operations a scripted answer can change.
const char* const kAnswerable[] = {
    "init", "getVersion", "isInited", "isLogin", "setLogPath", "setVideoColorFormat", "getViewType",
    "iLiveCreateRootView", "login", "createRoom", "joinRoom", "getCameraList", "getMicList", "getSpeakerList",
    "getWindowList", "openCamera", "closeCamera", "getCurCameraState", "openMic", "getMicVolume", "setMicVolume",
    "openSpeaker", "getPlayerVolume", "openScreenShare", "openScreenShareArea", "getScreenShareState",
    "openSystemVoiceInput", "getSystemVoiceInputVolume", "isValidMediaFile", "openPlayMediaFile",
    "getPlayMediaFilePos", "getPlayMediaFileState", "startLocalRecord", "openExternalCapture",
    "fillExternalCaptureFrame", "sendCustomData", "setAudioDataHandler", "requestStreams", "changeRole"};

fuzz::Session& session() {
  // killProcess ends the process (as it must): not a function to fuzz.
  static fuzz::Session s("cannot load Brisora", BRISORA_LIBRARY, "ANEWinExtInitializer", "ANEWinExtFinalizer",
                         {"killProcess"});
  return s;
}

// A video frame as the SDK hands it over, its pixels in a guarded buffer.
void videoFrame(Input& in, fuzz::Checks& checks) {
  ilive::VideoFrame frame;
  frame.identifier = ilive::SdkString(fuzz::anyText(in, kWords).c_str());
  static const int32_t formats[] = {ilive::COLOR_FORMAT_I420, ilive::COLOR_FORMAT_RGB24, 1, 2, 3, -1, 100};
  frame.colorFormat = in.PickValueInArray(formats);
  frame.width = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 1283) : fuzz::anyUint32(in);
  frame.height = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 723) : fuzz::anyUint32(in);
  frame.flag = in.ConsumeIntegral<uint8_t>();
  frame.sourceKind = in.ConsumeIntegralInRange<int32_t>(-1, 4);
  frame.value = fuzz::anyUint32(in);
  frame.timestamp = in.ConsumeIntegral<uint64_t>();
  const uint64_t pixels = uint64_t(frame.width) * frame.height;
  const uint64_t honest = frame.colorFormat == ilive::COLOR_FORMAT_RGB24
                              ? pixels * 3
                              : pixels + 2 * uint64_t((frame.width + 1) / 2) * ((frame.height + 1) / 2);
  uint64_t size = 0;
  bool nullData = false;
  switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: size = honest; break;                                            // honest
    case 1: size = honest ? in.ConsumeIntegralInRange<uint64_t>(0, honest - 1) : 0; break;  // short
    case 2: size = 0; break;                                                 // zero
    case 3: size = honest + in.ConsumeIntegralInRange<uint64_t>(1, 4096); break;  // padded
    default: size = honest; nullData = true; break;                          // null data, honest size
  }
  if (size > (16u << 20)) size = in.ConsumeIntegralInRange<uint64_t>(0, 4096);  // a lying size, small buffer
  fuzz::GuardedBuffer buffer{size_t(size)};
  buffer.fill(in.ConsumeIntegral<uint8_t>());
  frame.dataSize = uint32_t(size);
  frame.data = nullData ? nullptr : buffer.data();
  const bool local = in.ConsumeBool();
  const int where = in.ConsumeIntegralInRange<int>(0, 2);  // SDK thread, here, another thread
  checks.run(local ? "local frame" : "remote frame", [&] {
    auto deliver = [&](bool here) { local ? standin::localFrame(frame, here) : standin::remoteFrame(frame, here); };
    if (where == 2) {
      std::thread t([&] { deliver(true); });
      t.join();
    } else {
      deliver(where == 1);
    }
  });
}

void audioFrame(Input& in, fuzz::Checks& checks) {
  ilive::AudioFrame frame;
  frame.identifier = ilive::SdkString(fuzz::anyText(in, kWords).c_str());
  frame.sampleRate = in.ConsumeBool() ? 48000u : fuzz::anyUint32(in);
  frame.channelCount = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 3) : fuzz::anyUint32(in);
  frame.bits = in.ConsumeBool() ? 16u : fuzz::anyUint32(in);
  const size_t size = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 4001) : fuzz::anyByteCount(in);
  fuzz::GuardedBuffer buffer(size);
  buffer.fill(in.ConsumeIntegral<uint8_t>());
  frame.dataSize = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? fuzz::anyUint32(in) % (uint32_t(size) + 1)
                                                                : uint32_t(size);
  frame.data = in.ConsumeIntegralInRange<int>(0, 9) == 0 ? nullptr : buffer.data();
  const int32_t kind = in.ConsumeIntegralInRange<int32_t>(-1, 8);
  const bool here = in.ConsumeBool();
  checks.run("audio frame", [&] { standin::audioFrame(kind, frame, here); });
}

void memberEvent(Input& in, fuzz::Checks& checks) {
  const int32_t event = in.ConsumeIntegralInRange<int32_t>(-1, 12);
  std::vector<std::string> ids;
  const size_t count = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 4)
                                        : in.ConsumeIntegralInRange<size_t>(0, 3000);
  const std::string base = fuzz::anyText(in, kWords);
  const size_t kept = fuzz::withinBudget(count, base.size() + 8);
  for (size_t i = 0; i < kept; ++i) ids.push_back(i % 3 == 0 ? base : base + std::to_string(i));
  const bool here = in.ConsumeBool();
  checks.run("member event", [&] { standin::memberEvent(event, ids, here); });
}

void scriptedAnswer(Input& in, fuzz::Checks& checks) {
  const std::string op = in.PickValueInArray(kAnswerable);
  if (in.ConsumeIntegralInRange<int>(0, 3) == 0) {
    checks.run("clear answer", [&] { standin::clearAnswer(op); });
    return;
  }
  standin::Answer a;
  if (in.ConsumeIntegralInRange<int>(0, 4) == 0 && standin::exceptionsCrossModules()) {
    a.throws = true;
  } else {
    a.code = in.ConsumeBool() ? int64_t(in.ConsumeIntegralInRange<int>(-1, 2)) : int64_t(fuzz::anyInt32(in));
    if (in.ConsumeBool()) a.text = fuzz::anyText(in, kWords);
    const size_t names = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 4)
                                          : in.ConsumeIntegralInRange<size_t>(0, 1000);
    const std::string name = fuzz::anyText(in, kWords);
    const size_t kept = fuzz::withinBudget(names, name.size());
    for (size_t i = 0; i < kept; ++i) a.names.push_back(name);
    if (in.ConsumeBool())
      for (size_t i = 0; i < kept; ++i) a.ids.push_back(std::to_string(i));
    const size_t values = in.ConsumeIntegralInRange<size_t>(0, 6);
    for (size_t i = 0; i < values; ++i) a.values.push_back(fuzz::anyInt32(in));
  }
  checks.run("answer " + op, [&] { standin::setAnswer(op, a); });
}

void sdkEvent(Input& in, fuzz::Checks& checks) {
  switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0:
    case 1: videoFrame(in, checks); break;
    case 2: audioFrame(in, checks); break;
    case 3: memberEvent(in, checks); break;
    case 4: {
      const uint32_t count = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 3)
                                              : in.ConsumeIntegralInRange<uint32_t>(0, 400);
      const bool here = in.ConsumeBool();
      checks.run("statistics", [&] { standin::statistics(standin::makeStatistics(count), here); });
      break;
    }
    case 5: {
      const int32_t op = fuzz::anyInt32(in), result = fuzz::anyInt32(in);
      const bool here = in.ConsumeBool();
      checks.run("device operation", [&] { standin::deviceOperation(op, result, here); });
      break;
    }
    case 6: {
      const bool here = in.ConsumeBool();
      checks.run("device detect", [&] { standin::deviceDetect(here); });
      break;
    }
    case 7: {
      const int32_t reason = fuzz::anyInt32(in);
      const std::string message = fuzz::anyText(in, kWords);
      checks.run("disconnect", [&] { standin::roomDisconnect(reason, message); });
      break;
    }
    case 8: checks.run("force offline", [] { standin::forceOffline(); }); break;
    case 9: checks.run("network notice", [] { standin::networkNotice(); }); break;
    case 10: {
      const int32_t code = fuzz::anyInt32(in);
      const std::string message = fuzz::anyText(in, kWords);
      if (in.ConsumeBool())
        checks.run("record error", [&] { standin::recordError(code, message); });
      else
        checks.run("recorded", [&] { standin::recorded(code, fuzz::anyInt32(in), 0, message); });
      break;
    }
    case 11: {
      const std::string op = in.PickValueInArray(kCompletable);
      const bool ok = in.ConsumeBool();
      const int32_t code = fuzz::anyInt32(in);
      const std::string message = fuzz::anyText(in, kWords);
      checks.run("complete " + op, [&] { standin::complete(op, ok, code, message); });
      break;
    }
    case 12: {
      const bool on = in.ConsumeBool();
      checks.run("auto-complete", [&] { standin::setAutoComplete(on); });
      break;
    }
    case 13: scriptedAnswer(in, checks); break;
    case 14: checks.run("room start", [] { standin::startRoom(); }); break;
    default: checks.run("room stop", [] { standin::stopRoom(); }); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The extension's console lines would drown the fuzzer's own.
  const int devnull = ::open("/dev/null", O_WRONLY);
  if (devnull >= 0) ::dup2(devnull, 1);
  air::setKeepLibrariesLoaded(true);
  session().load();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::Checks checks;
  fuzz::Session& s = session();
  Input in(data, size);
  standin::reset();
  air::resetBreaches();
  checks.run("new context", [&] {
    s.newContext();
    s.call("initRtmpLiveSdk", {in.ConsumeBool()});
  });
  for (int op = 0; op < fuzz::kMaxOperations && in.remaining_bytes() > 0; ++op) {
    const int kind = in.ConsumeIntegralInRange<int>(0, 99);
    if (kind < 55) {
      fuzz::callAnyFunction(s, in, checks, kWords);
    } else if (kind < 95) {
      sdkEvent(in, checks);
    } else {
      fuzz::lifecycleOperation(kind, s, checks);
    }
  }
  checks.run("end of session", [&] {
    standin::stopRoom();
    s.endContext();
    standin::reset();
  });
  return 0;
}
