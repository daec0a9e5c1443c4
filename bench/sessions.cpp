#include "sessions.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

#include "ilive_standin/standin.h"
#include "libyuv/convert_from_argb.h"
#include "liteav_standin/control.h"
#include "trtc/sdk/trtc_cloud.h"

namespace bench {

namespace {

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "frame_bench: %s\n", what.c_str());
  std::exit(2);
}

void expectSdk(bool ok, const std::string& line, const std::string& error) {
  if (!ok) fail("SDK stand-in refused \"" + line + "\": " + error);
}

// A picture with some structure (gradients and bars), so that no conversion
// meets only one value.
std::vector<uint8_t> picture(FrameSize s) {
  std::vector<uint8_t> bgra(size_t(s.width) * s.height * 4);
  for (uint32_t y = 0; y < s.height; ++y)
    for (uint32_t x = 0; x < s.width; ++x) {
      uint8_t* p = &bgra[(size_t(y) * s.width + x) * 4];
      p[0] = uint8_t(x * 255 / s.width);
      p[1] = uint8_t(y * 255 / s.height);
      p[2] = uint8_t(((x / 64) % 2) ? 200 : 40);
      p[3] = 255;
    }
  return bgra;
}

}  // namespace

const std::vector<std::string>& remoteUsers() {
  // Identifiers of a length real applications use (longer than the 15
  // characters a std::string holds without the heap).
  static const std::vector<std::string> users = {"guest_1400012345_01", "guest_1400012345_02",
                                                 "guest_1400012345_03", "guest_1400012345_04"};
  return users;
}

const SourceFrames& sourceFrames(FrameSize s) {
  static std::mutex lock;
  static std::map<std::pair<uint32_t, uint32_t>, SourceFrames> made;
  std::lock_guard<std::mutex> g(lock);
  auto it = made.find({s.width, s.height});
  if (it != made.end()) return it->second;
  SourceFrames f;
  f.bgra = picture(s);
  f.rgb24.resize(size_t(s.width) * s.height * 3);
  libyuv::ARGBToRGB24(f.bgra.data(), int(s.width * 4), f.rgb24.data(), int(s.width * 3), int(s.width),
                      int(s.height));
  const size_t ySize = size_t(s.width) * s.height, cSize = ySize / 4;
  f.i420.resize(ySize + 2 * cSize);
  uint8_t* y = f.i420.data();
  libyuv::ARGBToI420(f.bgra.data(), int(s.width * 4), y, int(s.width), y + ySize, int(s.width / 2),
                     y + ySize + cSize, int(s.width / 2), int(s.width), int(s.height));
  return made.emplace(std::make_pair(s.width, s.height), std::move(f)).first->second;
}

// ---- Brisora ----

BrisoraSession& BrisoraSession::get() {
  static BrisoraSession session;
  return session;
}

BrisoraSession::BrisoraSession() {
  std::string error;
  ilive::standin::reset();
  if (!open(BRISORA_LIBRARY, "ANEWinExtInitializer", "ANEWinExtFinalizer", &error))
    fail("cannot load Brisora: " + error);
  context_->call("initRtmpLiveSdk", {false});
  context_->call("initILiveSdk", {int32_t(1400012345), int32_t(12345), int32_t(0), int32_t(0)});
  context_->call("iLiveLogin", {std::string("me"), std::string("sig"), int32_t(4), std::string("")});
  expectSdk(ilive::standin::command("login-result ok", &error), "login-result ok", error);
  context_->call("createRoom", {880001u, std::string("me"), std::string(""), false, true, true});
  expectSdk(ilive::standin::command("room-result ok", &error), "room-result ok", error);
  if (!ilive::standin::memberEvent(3, remoteUsers(), true)) fail("Brisora installed no member-event handler");
  ilive::standin::takeCalls();
  drainEvents();
}

ilive::VideoFrame BrisoraSession::frame(const std::string& user, int32_t format, FrameSize s) const {
  const SourceFrames& src = sourceFrames(s);
  const std::vector<uint8_t>& bytes = format == ilive::COLOR_FORMAT_RGB24 ? src.rgb24 : src.i420;
  ilive::VideoFrame f;
  f.identifier = ilive::SdkString(user.c_str(), user.size());
  f.colorFormat = format;
  f.width = s.width;
  f.height = s.height;
  f.sourceKind = ilive::VIDEO_SRC_CAMERA;
  f.dataSize = uint32_t(bytes.size());
  f.data = const_cast<uint8_t*>(bytes.data());
  return f;
}

void BrisoraSession::deliver(const ilive::VideoFrame& frame) {
  if (!ilive::standin::remoteFrame(frame, true)) fail("Brisora installed no remote-video handler");
}

bool BrisoraSession::pullBitmap(const std::vector<air::Value>& args) {
  static const std::string name = "getVideoBitmapData";  // made once: the call's own cost is measured
  air::Value v = context_->call(name, args);
  return std::holds_alternative<std::shared_ptr<air::Bitmap>>(v);
}

// ---- Tamvex ----

TamvexSession& TamvexSession::get() {
  static TamvexSession session;
  return session;
}

TamvexSession::TamvexSession() {
  std::string error;
  if (!liteav_standin::available(&error)) fail(error);
  expectSdk(liteav_standin::command("reset", &error), "reset", error);
  if (!open(TAMVEX_LIBRARY, "ANEWinRTCExtInitializer", "ANEWinRTCExtFinalizer", &error))
    fail("cannot load Tamvex: " + error);
  context_->call("initTRTCSdk", {false});
  context_->call("enterRoom", {int32_t(1400000001), int32_t(1234), std::string("me"), std::string("sig"),
                               std::string("")});
  for (const std::string& u : remoteUsers()) {
    const std::string line = "video-available " + u + " 1";
    expectSdk(liteav_standin::command(line, &error), line, error);
    context_->call("setRemoteVideoRenderCallback", {u, int32_t(1), int32_t(1), int32_t(1)});
  }
  // The callback the extension registered, from the very stand-in it loaded.
  using CallbackOf = void* (*)(const char*);
#if defined(_WIN32)
  const std::string file = liteav_standin::detail::executableFolder() + "LiteAV\\liteav.dll";
  HMODULE module = GetModuleHandleA(file.c_str());
  if (!module) fail("the LiteAV stand-in is not loaded: " + file);
  auto callbackOf = reinterpret_cast<CallbackOf>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "liteav_standin_render_callback")));
#else
  const std::string file = liteav_standin::detail::executableFolder() + "LiteAV/liteav.dll";
  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!module) fail("the LiteAV stand-in is not loaded: " + file);
  auto callbackOf = reinterpret_cast<CallbackOf>(dlsym(module, "liteav_standin_render_callback"));
#endif
  if (!callbackOf) fail("the LiteAV stand-in has no liteav_standin_render_callback");
  callback_ = static_cast<ITRTCVideoRenderCallback*>(callbackOf(remoteUsers().front().c_str()));
  if (!callback_) fail("Tamvex registered no render callback");
  liteav_standin::takeCalls();
  drainEvents();
}

TRTCVideoFrame TamvexSession::frame(int format, FrameSize s) const {
  const SourceFrames& src = sourceFrames(s);
  const std::vector<uint8_t>& bytes = format == TRTCVideoPixelFormat_BGRA32 ? src.bgra : src.i420;
  TRTCVideoFrame f;
  f.videoFormat = static_cast<TRTCVideoPixelFormat>(format);
  f.bufferType = TRTCVideoBufferType_Buffer;
  f.data = reinterpret_cast<char*>(const_cast<uint8_t*>(bytes.data()));
  f.length = uint32_t(bytes.size());
  f.width = s.width;
  f.height = s.height;
  return f;
}

void TamvexSession::deliver(const std::string& user, TRTCVideoFrame& frame) {
  callback_->onRenderVideoFrame(user.c_str(), TRTCVideoStreamTypeBig, &frame);
}

void TamvexSession::deliver(const std::string& user, TRTCVideoFrame& frame, TRTCVideoStreamType stream) {
  callback_->onRenderVideoFrame(user.c_str(), stream, &frame);
}

}  // namespace bench
