// Tamvex driven by hostile ActionScript calls and hostile LiteAV SDK events.
// Each input is one session: up to a few hundred operations, each a call of a
// function of the table with arguments of any count and type, a command of
// the LiteAV stand-in (cloud, pusher and VOD callbacks, frames the stand-in
// draws, answers and throws, screen sources, the simulated room), a frame in
// a guarded buffer handed straight to Tamvex's render callback (on the
// caller's thread or another), or a context dispose / extension reload.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "air/host.h"
#include "fuzz_session.h"
#include "liteav_standin/control.h"
#include "trtc/sdk/trtc_cloud.h"

namespace {

using fuzz::Input;

const std::vector<std::string> kWords = {"",      "u1",   "u2",       "me",   "local", "user", "rtmp://x/live",
                                         "file.mp4", "sig", "1400000001", "1234", "0",     "||",   "65537"};

const char* const kOperations[] = {
    "getSDKVersion", "getCameraDevicesList", "getMicDevicesList", "getSpeakerDevicesList",
    "Pusher.getMicDevicesList", "getCurrentCameraDevice", "getCurrentMicDevice", "getCurrentSpeakerDevice",
    "setLocalVideoRenderCallback", "setRemoteVideoRenderCallback", "enableSmallVideoStream",
    "setRemoteVideoStreamType", "setPriorRemoteVideoStreamType", "setCurrentCameraDevice", "setCurrentMicDevice",
    "setCurrentSpeakerDevice", "getCurrentMicDeviceVolume", "getCurrentSpeakerVolume", "Pusher.startPush",
    "Pusher.micVolume", "LivePlayer.startPlay", "getScreenCaptureSources", "createTXLivePusher",
    "createTXLivePlayer", "createTXVodPlayer", "enterRoom", "exitRoom", "startLocalPreview", "startSpeedTest",
    "selectScreenCaptureTarget", "startScreenCapture", "addCallback", "removeCallback", "setLogDirPath",
    "VodPlayer.start", "getTRTCShareInstance"};

using RenderCallbackFn = void* (*)(const char*);

fuzz::Session& session() {
  static fuzz::Session s("cannot load Tamvex", TAMVEX_LIBRARY, "ANEWinRTCExtInitializer", "ANEWinRTCExtFinalizer");
  return s;
}

// The stand-in's lookup of the render callback Tamvex registered for a user
// ("" for the local frames); null when the stand-in has none.
RenderCallbackFn renderCallback = nullptr;

// A text as a quoted word of the stand-in's command language: every byte
// escaped, so any byte reaches the SDK side as it is.
std::string quoted(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += char(c);
    } else {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out + "\"";
}

std::string text(Input& in) {
  // Ids of a few kilobytes at most: the command line grows fourfold.
  std::string t = fuzz::anyText(in, kWords);
  if (t.size() > 4096 && in.ConsumeBool()) t.resize(4096);
  return quoted(t);
}

std::string num(Input& in) { return std::to_string(fuzz::anyInt32(in)); }
std::string small(Input& in, int lo, int hi) { return std::to_string(in.ConsumeIntegralInRange<int>(lo, hi)); }
std::string size(Input& in) {
  return std::to_string(in.ConsumeIntegralInRange<uint32_t>(0, 1283)) + "x" +
         std::to_string(in.ConsumeIntegralInRange<uint32_t>(0, 723));
}

// One line of the stand-in's command language.
std::string command(Input& in) {
  std::string line = in.ConsumeIntegralInRange<int>(0, 4) == 0 ? "async " : "";
  switch (in.ConsumeIntegralInRange<int>(0, 29)) {
    case 0: return line + "error " + num(in) + " " + text(in);
    case 1: return line + "warning " + num(in) + " " + text(in);
    case 2: return line + "enter-room " + num(in);
    case 3: return line + "exit-room " + num(in);
    case 4: return line + "user-enter " + text(in);
    case 5: return line + "user-exit " + text(in) + " " + num(in);
    case 6: {
      static const char* const kinds[] = {"video-available ", "substream-available ", "audio-available "};
      return line + in.PickValueInArray(kinds) + (in.ConsumeIntegralInRange<int>(0, 7) ? text(in) : "null") + " " +
             small(in, 0, 1);
    }
    case 7: {
      line += "volume";
      const int n = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 4) : in.ConsumeIntegralInRange<int>(0, 500);
      const std::string id = text(in);
      const int kept = int(fuzz::withinBudget(size_t(n), id.size()));
      for (int i = 0; i < kept; ++i) line += " " + (i % 2 ? id : quoted(std::to_string(i))) + " " + small(in, -5, 105);
      if (in.ConsumeBool()) line += " total=" + num(in);
      // A count below the entries handed over (never above: no SDK hands
      // over fewer entries than it says).
      if (in.ConsumeBool()) line += " count=" + small(in, -3, kept);
      return line;
    }
    case 8:
      return line + "speed-test " + text(in) + " rtt=" + num(in) + " finished=" + num(in) + " total=" + num(in) +
             " quality=" + num(in);
    case 9: return line + "first-frame " + text(in) + " " + size(in) + " kind=" + small(in, -1, 3);
    case 10: {
      line += "network-quality " + small(in, -1, 7);
      const int n = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 4) : in.ConsumeIntegralInRange<int>(0, 500);
      for (int i = 0; i < n; ++i) line += " " + quoted("u" + std::to_string(i)) + " " + small(in, -1, 7);
      return line;
    }
    case 11:
      return line + "statistics up-loss=" + num(in) + " down-loss=" + num(in) + " app-cpu=" + num(in) +
             " system-cpu=" + num(in) + " rtt=" + num(in) + " received=" + num(in) + " sent=" + num(in);
    case 12: {
      static const char* const states[] = {"lost", "retrying", "recovered"};
      return line + "connection " + in.PickValueInArray(states);
    }
    case 13: return line + (in.ConsumeBool() ? "camera-ready" : "mic-ready");
    case 14: return line + "device-change " + text(in) + " " + small(in, -1, 3) + " " + small(in, -1, 3);
    case 15: {
      static const char* const states[] = {"started", "paused ", "resumed ", "stopped "};
      const std::string s = in.PickValueInArray(states);
      return line + "screen-capture " + s + (s == "started" ? "" : num(in));
    }
    case 16:
    case 17: {
      const bool local = in.ConsumeBool();
      line += local ? "frame local " : "frame remote ";
      if (local) line += in.ConsumeIntegralInRange<int>(0, 5) == 0 ? "null " : "";
      if (!local) line += text(in) + " ";
      line += size(in) + " kind=" + small(in, -1, 3);
      if (in.ConsumeBool()) line += " format=" + small(in, -1, 4);
      if (in.ConsumeBool()) line += " rotation=" + num(in);
      if (in.ConsumeBool()) line += " length=" + std::to_string(in.ConsumeIntegralInRange<uint32_t>(0, 4000000));
      if (in.ConsumeIntegralInRange<int>(0, 7) == 0) line += " data=null";
      if (in.ConsumeBool()) line += " pattern=ramp";
      return line;
    }
    case 18: {
      line += "pusher " + small(in, 0, 3) + " event " + num(in);
      const int n = in.ConsumeIntegralInRange<int>(0, 40);
      for (int i = 0; i < n; ++i) line += " k" + std::to_string(i) + "=" + text(in);
      return line;
    }
    case 19: {
      line += "pusher " + small(in, 0, 3) + " status";
      const int n = in.ConsumeIntegralInRange<int>(0, 40);
      for (int i = 0; i < n; ++i) line += " k" + std::to_string(i) + "=" + text(in);
      return line;
    }
    case 20: return line + "pusher " + small(in, 0, 3) + " device " + num(in) + " " + small(in, 0, 1);
    case 21: {
      static const char* const what[] = {"started ", "progress ", "paused", "resumed", "stopped ", "error "};
      const std::string w = in.PickValueInArray(what);
      return line + "vod " + small(in, 0, 3) + " " + w + (w.back() == ' ' ? num(in) : "");
    }
    case 22: return std::string("answer ") + in.PickValueInArray(kOperations) + " code=" + num(in);
    case 23: return std::string("answer ") + in.PickValueInArray(kOperations) + (in.ConsumeBool() ? " null" : " text=" + text(in));
    case 24: {
      static const char* const lists[] = {"getCameraDevicesList", "getMicDevicesList", "getSpeakerDevicesList",
                                          "Pusher.getMicDevicesList"};
      line = std::string("answer ") + in.PickValueInArray(lists) + " list=";
      const int n = in.ConsumeBool() ? in.ConsumeIntegralInRange<int>(0, 4) : in.ConsumeIntegralInRange<int>(0, 300);
      const std::string name = text(in);
      const int kept = int(fuzz::withinBudget(size_t(n), name.size()));
      for (int i = 0; i < kept; ++i) line += (i ? "," : "") + name;
      if (in.ConsumeBool()) line += " count=" + num(in);
      return line;
    }
    case 25: {
      static const char* const current[] = {"getCurrentCameraDevice", "getCurrentMicDevice", "getCurrentSpeakerDevice"};
      return std::string("answer ") + in.PickValueInArray(current) + " name=" + text(in);
    }
    case 26:
      return std::string(in.ConsumeBool() ? "throw " : "clear ") + in.PickValueInArray(kOperations);
    case 27: {
      if (in.ConsumeIntegralInRange<int>(0, 3) == 0) return "sources clear";
      line = "source " + num(in) + " " + small(in, -1, 3) + " " + text(in);
      if (in.ConsumeBool()) line += " thumb=" + size(in);
      if (in.ConsumeBool()) line += " thumb-length=" + std::to_string(in.ConsumeIntegralInRange<uint32_t>(0, 1 << 20));
      if (in.ConsumeIntegralInRange<int>(0, 5) == 0) line += " no-thumb";
      return line;
    }
    case 28: return in.ConsumeBool() ? "room start" : "room stop";
    default: return line + "audio-frame captured samples=" + small(in, 0, 4000);
  }
}

// A frame in a guarded buffer, straight to the render callback Tamvex
// registered for a user (or for the local frames).
void guardedFrame(Input& in, fuzz::Checks& checks) {
  if (!renderCallback) return;
  const std::string id = fuzz::anyText(in, kWords);
  const bool nullId = in.ConsumeIntegralInRange<int>(0, 7) == 0;
  TRTCVideoFrame frame;
  static const int formats[] = {TRTCVideoPixelFormat_I420, TRTCVideoPixelFormat_BGRA32, 0, 2, -1, 99};
  frame.videoFormat = static_cast<TRTCVideoPixelFormat>(in.PickValueInArray(formats));
  frame.bufferType = in.ConsumeIntegralInRange<int>(0, 7) ? TRTCVideoBufferType_Buffer
                                                            : static_cast<TRTCVideoBufferType>(in.ConsumeIntegral<int8_t>());
  frame.width = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 1283) : fuzz::anyUint32(in);
  frame.height = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint32_t>(0, 723) : fuzz::anyUint32(in);
  frame.rotation = static_cast<TRTCVideoRotation>(in.ConsumeIntegralInRange<int>(-1, 4));
  frame.timestamp = in.ConsumeIntegral<uint64_t>();
  const uint64_t pixels = uint64_t(frame.width) * frame.height;
  const uint64_t honest = frame.videoFormat == TRTCVideoPixelFormat_BGRA32
                              ? pixels * 4
                              : pixels + 2 * uint64_t((frame.width + 1) / 2) * ((frame.height + 1) / 2);
  uint64_t length = 0;
  bool nullData = false;
  switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: length = honest; break;
    case 1: length = honest ? in.ConsumeIntegralInRange<uint64_t>(0, honest - 1) : 0; break;
    case 2: length = 0; break;
    case 3: length = honest + in.ConsumeIntegralInRange<uint64_t>(1, 4096); break;
    default: length = honest; nullData = true; break;
  }
  if (length > (16u << 20)) length = in.ConsumeIntegralInRange<uint64_t>(0, 4096);
  fuzz::GuardedBuffer buffer{size_t(length)};
  buffer.fill(in.ConsumeIntegral<uint8_t>());
  frame.data = nullData ? nullptr : reinterpret_cast<char*>(buffer.data());
  frame.length = uint32_t(length);
  const int stream = in.ConsumeIntegralInRange<int>(-1, 3);
  const bool otherThread = in.ConsumeBool();
  const bool localCallback = in.ConsumeBool();
  checks.run("guarded frame", [&] {
    auto* callback = static_cast<ITRTCVideoRenderCallback*>(renderCallback(localCallback ? "" : id.c_str()));
    if (!callback) return;
    auto deliver = [&] {
      callback->onRenderVideoFrame(nullId ? nullptr : id.c_str(), static_cast<TRTCVideoStreamType>(stream), &frame);
    };
    if (otherThread) {
      std::thread t(deliver);
      t.join();
    } else {
      deliver();
    }
  });
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const int devnull = ::open("/dev/null", O_WRONLY);
  if (devnull >= 0) ::dup2(devnull, 1);
  air::setKeepLibrariesLoaded(true);
  std::string error;
  if (!liteav_standin::available(&error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::abort();
  }
  const std::string file = liteav_standin::detail::executableFolder() + "LiteAV/liteav.dll";
  void* module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module)
    renderCallback = reinterpret_cast<RenderCallbackFn>(::dlsym(module, "liteav_standin_render_callback"));
  session().load();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static fuzz::Checks checks;
  fuzz::Session& s = session();
  Input in(data, size);
  liteav_standin::command("reset");
  air::resetBreaches();
  checks.run("new context", [&] {
    s.newContext();
    if (in.ConsumeBool()) s.call("initTRTCSdk", {in.ConsumeBool()});
  });
  for (int op = 0; op < fuzz::kMaxOperations && in.remaining_bytes() > 0; ++op) {
    const int kind = in.ConsumeIntegralInRange<int>(0, 99);
    if (kind < 55) {
      fuzz::callAnyFunction(s, in, checks, kWords);
    } else if (kind < 85) {
      const std::string line = command(in);
      checks.run("sdk " + line.substr(0, 200), [&] { liteav_standin::command(line); });
    } else if (kind < 95) {
      guardedFrame(in, checks);
    } else {
      fuzz::lifecycleOperation(kind, s, checks);
    }
  }
  checks.run("end of session", [&] {
    liteav_standin::command("room stop");
    s.endContext();
    liteav_standin::command("reset");
  });
  return 0;
}
