// The two extensions as the benchmark drives them: each loaded from its
// library through the runtime stand-in, a context created, the SDK started,
// a room entered and a few remote users' cameras announced, exactly as an
// application and the SDK would do it. Frames then go straight into the
// handler the extension installed in the SDK stand-in, on the calling thread
// (no thread hand-off of the stand-in), and pulls go through Context::call.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "ilive/sdk/records.h"
#include "tests/support/extension_host.h"
#include "trtc/sdk/trtc_types.h"

class ITRTCVideoRenderCallback;

namespace bench {

struct FrameSize {
  uint32_t width;
  uint32_t height;
};

// Remote users whose cameras are announced in both sessions.
const std::vector<std::string>& remoteUsers();

// Source frames of a given size, filled with a test picture, built once.
struct SourceFrames {
  std::vector<uint8_t> i420;   // width*height*3/2
  std::vector<uint8_t> rgb24;  // width*height*3
  std::vector<uint8_t> bgra;   // width*height*4
};
const SourceFrames& sourceFrames(FrameSize size);

// The extension and its context, as the test sessions hold them.
class Session : public ane_test::ExtensionHost {
 public:
  // Drops the queued events, as ActionScript would handle them.
  void drainEvents() { events(); }
};

// Brisora: colour format 8 (packed 24-bit) or I420 remote camera frames.
class BrisoraSession : public Session {
 public:
  static BrisoraSession& get();
  // Prepares a reusable frame record for the user (format 8 or 0 = I420).
  ilive::VideoFrame frame(const std::string& user, int32_t format, FrameSize size) const;
  // The remote-video handler the extension installed, run on this thread.
  void deliver(const ilive::VideoFrame& frame);
  // getVideoBitmapData with the given arguments; true when a bitmap came back.
  bool pullBitmap(const std::vector<air::Value>& args);

 private:
  BrisoraSession();
};

// Tamvex: I420 (format 1) or BGRA (format 3) remote big-stream frames.
class TamvexSession : public Session {
 public:
  static TamvexSession& get();
  TRTCVideoFrame frame(int format, FrameSize size) const;
  // The render callback the extension registered, run on this thread.
  void deliver(const std::string& user, TRTCVideoFrame& frame);
  // The same for another stream of the user (small, sub).
  void deliver(const std::string& user, TRTCVideoFrame& frame, TRTCVideoStreamType stream);

 private:
  TamvexSession();
  ITRTCVideoRenderCallback* callback_ = nullptr;
};

}  // namespace bench
