// The frames the stand-in delivers to the render callbacks, for the `frame`
// command and the simulated room: the test picture (or the colour, Y/U/V
// values, file or PNG picture asked for) in the format asked for, cut or
// padded to the length asked for.
#include <libyuv.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "commands.h"

namespace liteav_standin {
namespace {

std::atomic<uint32_t> frameCounter{0};

bool needsOf(int format, uint32_t w, uint32_t h, uint64_t* bytes) {
  if (format == TRTCVideoPixelFormat_I420) {
    *bytes = uint64_t(w) * h + 2 * uint64_t((w + 1) / 2) * ((h + 1) / 2);
    return true;
  }
  *bytes = uint64_t(w) * h * 4;
  return true;
}

// Runs on a frame worker (or the thread of a held delivery). The callback is
// looked up first and called with no lock held: a registration may change,
// and the instance may be destroyed, while the frame is on its way.
bool deliverFrame(const FrameSpec& f, std::string* error) {
  State& s = State::get();
  RenderRegistration reg;
  {
    std::shared_lock<std::shared_mutex> lock(s.delivery);
    const auto& remotes = f.late ? s.departedRemoteRenders : s.remoteRenders;
    if (f.local) {
      reg = f.late ? s.departedLocalRender : s.localRender;
    } else {
      auto it = remotes.find(f.userId);
      if (it != remotes.end()) reg = it->second;
    }
  }
  std::string localId;  // `local-id on`: the user of the last enterRoom
  if (f.local && !f.idGiven) {
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.localIdInFrames) localId = s.enteredUserId;
  }
  if (!reg.callback) {
    *error = std::string(f.late ? "no departed " : "no ") +
             (f.local ? "local render callback" : "render callback for " + f.userId) +
             (f.late ? " (late frames go to a callback that was removed)" : " registered");
    return false;
  }
  int format = f.format >= 0 ? f.format : (reg.format == TRTCVideoPixelFormat_BGRA32 ? 3 : 1);
  uint32_t width = f.width, height = f.height;
  std::vector<uint8_t> given;  // the frame of color=, yuv=, file= or png=
  if (f.content.kind != standin_common::FrameContent::Kind::Pattern) {
    const auto layout =
        format == TRTCVideoPixelFormat_I420 ? standin_common::PixelFormat::I420 : standin_common::PixelFormat::Bgra32;
    if (!standin_common::drawContent(f.content, layout, &width, &height, &given, error)) return false;
  }
  uint64_t need = 0;
  needsOf(format, width, height, &need);
  if (f.content.kind != standin_common::FrameContent::Kind::Pattern) need = given.size();
  uint64_t length = f.length >= 0 ? uint64_t(f.length) : need;
  if (length > (uint64_t(1) << 30)) {
    *error = "frame too large for the stand-in";
    return false;
  }
  // A picture too large to draw (a size that overflows, given with a short
  // length) carries a ramp of `length` bytes.
  const bool drawable = need <= (uint64_t(1) << 30);
  if (!drawable) need = length;
  thread_local std::vector<uint8_t> picture, data;
  const uint32_t frameNo = frameCounter.fetch_add(1);
  // The picture in the requested format, then cut or padded to `length`.
  std::vector<uint8_t> full(need);
  if (f.content.kind != standin_common::FrameContent::Kind::Pattern) {
    full.swap(given);
  } else if (f.pattern == "ramp" || !drawable) {
    for (size_t i = 0; i < full.size(); ++i) full[i] = uint8_t(i % 251);
  } else {
    picture.resize(size_t(f.width) * f.height * 4);
    if (f.pattern.rfind("solid:", 0) == 0) {
      uint32_t rgb = uint32_t(std::strtoul(f.pattern.c_str() + 6, nullptr, 16));
      for (size_t i = 0; i + 3 < picture.size(); i += 4) {
        picture[i] = uint8_t(rgb), picture[i + 1] = uint8_t(rgb >> 8), picture[i + 2] = uint8_t(rgb >> 16);
        picture[i + 3] = 255;
      }
    } else {
      drawPattern(picture.data(), f.width, f.height, frameNo, f.marks);
    }
    if (format == TRTCVideoPixelFormat_I420 && f.width && f.height) {
      const uint32_t cw = (f.width + 1) / 2, ch = (f.height + 1) / 2;
      uint8_t* y = full.data();
      uint8_t* u = y + size_t(f.width) * f.height;
      uint8_t* v = u + size_t(cw) * ch;
      libyuv::ARGBToI420(picture.data(), int(f.width * 4), y, int(f.width), u, int(cw), v, int(cw), int(f.width),
                         int(f.height));
    } else if (!full.empty() && !picture.empty()) {
      std::memcpy(full.data(), picture.data(), std::min<size_t>(full.size(), picture.size()));
    }
  }
  data.assign(full.begin(), full.begin() + std::min<uint64_t>(length, full.size()));
  data.resize(length);
  uint8_t empty = 0;
  TRTCVideoFrame frame;
  frame.videoFormat = static_cast<TRTCVideoPixelFormat>(format);
  frame.bufferType = TRTCVideoBufferType_Buffer;
  frame.data = f.nullData ? nullptr : reinterpret_cast<char*>(length ? data.data() : &empty);
  frame.length = uint32_t(length);
  frame.width = width;
  frame.height = height;
  frame.timestamp = frameNo;
  frame.rotation = static_cast<TRTCVideoRotation>(f.rotation);
  const char* id = f.nullId ? nullptr : !localId.empty() ? localId.c_str() : f.userId.c_str();
  if (!f.hold.empty()) holdPoint(f.hold);
  reg.callback->onRenderVideoFrame(id, static_cast<TRTCVideoStreamType>(f.streamType), &frame);
  return true;
}

}  // namespace

void drawPattern(uint8_t* bgra, uint32_t width, uint32_t height, uint32_t frame, int marks) {
  // White, yellow, cyan, green, magenta, red, blue, black (as B, G, R).
  static const uint8_t bars[8][3] = {{235, 235, 235}, {16, 235, 235}, {235, 235, 16}, {16, 235, 16},
                                     {235, 16, 235},  {16, 16, 235},  {235, 16, 16},  {16, 16, 16}};
  const uint32_t shift = frame * 4;
  const uint32_t square = height / 8 ? height / 8 : 1;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = bgra + size_t(y) * width * 4;
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* c = bars[((x + shift) % width) * 8 / width];
      uint8_t b = c[0], g = c[1], r = c[2];
      // Identification squares: `marks` white squares on a black strip, top left.
      if (y >= square / 2 && y < square / 2 + square && x < uint32_t(marks) * square * 2) {
        bool inSquare = (x % (square * 2)) >= square / 2 && (x % (square * 2)) < square / 2 + square;
        b = g = r = inSquare ? 255 : 0;
      }
      // A progress bar along the bottom, one pixel further each frame.
      if (y >= height - square / 2 - 1 && x <= frame % width) b = g = r = 255;
      row[x * 4 + 0] = b;
      row[x * 4 + 1] = g;
      row[x * 4 + 2] = r;
      row[x * 4 + 3] = 255;
    }
  }
}

bool runFrame(const FrameSpec& f, bool wait, std::string* error) {
  State& s = State::get();
  if (!f.hold.empty()) return holdRun(f.hold, [f](std::string* e) { return deliverFrame(f, e); }, error);
  Worker& w = f.local ? (f.streamType == TRTCVideoStreamTypeBig ? s.local : s.screen)
                      : s.remoteFor(f.userId, f.streamType);
  if (!wait) {
    w.post([f] {
      std::string ignored;
      deliverFrame(f, &ignored);
    });
    return true;
  }
  bool ok = false;
  w.run([&] { ok = deliverFrame(f, error); });
  return ok;
}

int streamTypeOf(const std::string& s) {
  if (s == "big") return 0;
  if (s == "small") return 1;
  if (s == "sub") return 2;
  int64_t v;
  return toInt(s, &v) ? int(v) : -100;
}

int formatOf(const std::string& s) {
  if (s == "i420") return 1;
  if (s == "bgra") return 3;
  int64_t v;
  return toInt(s, &v) ? int(v) : -100;
}

bool parseFrame(Words& w, size_t first, FrameSpec* f) {
  size_t i = first;
  f->late = w.late;
  f->hold = w.hold;
  if (!f->local) {
    if (!w.text(i++, &f->userId, "a user id")) return false;
  } else if (i < w.positional.size() && (w.positional[i].quoted || w.positional[i].text() == "null")) {
    f->idGiven = true;
    f->nullId = !w.positional[i].quoted;
    f->userId = w.positional[i].quoted ? w.positional[i].text() : "";
    ++i;
  }
  bool sized = false;
  for (; i < w.positional.size(); ++i) {
    if (toSize(w.positional[i].text(), &f->width, &f->height))
      sized = true;
    else
      return w.fail("unexpected word " + w.positional[i].text());
  }
  for (const char* key : {"color", "yuv", "hex", "file", "png"}) {
    bool known = false;
    if (w.has(key) && !standin_common::contentOption(key, w.keyed[key].values, &f->content, &known, w.error))
      return false;
  }
  if (!sized && f->content.kind != standin_common::FrameContent::Kind::Png) return w.fail("expected WIDTHxHEIGHT");
  if (!sized) f->width = f->height = 0;  // the picture's own size
  if (w.has("kind")) {
    f->streamType = streamTypeOf(w.keyed["kind"].text());
    if (f->streamType == -100) return w.fail("kind= expects big, small, sub or a number");
  }
  if (w.has("format")) {
    f->format = formatOf(w.keyed["format"].text());
    if (f->format == -100) return w.fail("format= expects i420, bgra or a number");
  }
  int64_t v;
  if (!w.keyInt("rotation", &v, 0)) return false;
  f->rotation = int(v);
  if (!w.keyInt("length", &v, -1)) return false;
  f->length = v;
  if (!w.keyInt("marks", &v, f->local ? 0 : 1)) return false;
  f->marks = int(v);
  if (w.has("pattern")) f->pattern = w.keyed["pattern"].text();
  if (w.has("data")) {
    if (w.keyed["data"].text() != "null") return w.fail("data= expects null");
    f->nullData = true;
  }
  return true;
}

}  // namespace liteav_standin
