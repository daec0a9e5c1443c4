// Media files, local recording, external capture and custom data: thin
// wrappers around the SDK, except the two external-capture fill functions,
// which turn ActionScript pixels into a packed 24-bit frame.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "core/args.h"
#include "core/pixels.h"
#include "core/results.h"
#include "ilive/brisora.h"
#include "ilive/codes.h"
#include "ilive/sdk_call.h"
#include "ilive/functions.h"
#include "ilive/sdk/ilive.h"

namespace brisora {

// Receives the outcome of a local recording on an SDK thread and only prints it.
class OnLocalRecordDelegate : public ilive::iLiveLocalRecordDelegate {
 public:
  void OnError(int32_t code, const ilive::SdkString& message) override {
    (void)code;
    core::inHandler([&] { std::printf("\n%s%s==%s\n", "OnLocalRecordDelegate", "OnError", message.c_str()); });
  }
  void OnRecorded(int32_t first, int32_t second, int32_t third, const ilive::SdkString& path) override {
    (void)first, (void)second, (void)third;
    core::inHandler([&] { std::printf("\n%s%s==%s\n", "OnLocalRecordDelegate", "OnRecorded", path.c_str()); });
  }
};

namespace {

// The external-capture canvas of the BitmapData form.
constexpr uint32_t kCanvasWidth = 1280;
constexpr uint32_t kCanvasHeight = 720;
constexpr uint32_t kCanvasBytes = kCanvasWidth * kCanvasHeight * 3;  // 2764800

// The one recording delegate. The SDK keeps the pointer it is given and may
// call it at any time afterwards, so the object lives in static storage and
// is never destroyed; the class has no data, so one object serves every
// recording, and nothing is allocated per call.
OnLocalRecordDelegate* recordDelegate() {
  alignas(OnLocalRecordDelegate) static unsigned char storage[sizeof(OnLocalRecordDelegate)];
  static OnLocalRecordDelegate* const delegate = new (storage) OnLocalRecordDelegate();
  return delegate;
}

// Working buffers of the fill functions, kept between calls so that a steady
// stream of frames of one size allocates nothing. Only ActionScript calls use
// them; the mutex keeps them whole should two calls ever overlap.
struct CaptureBuffers {
  std::mutex mutex;
  std::vector<uint8_t> rgba;    // the pixels copied out of the AIR object
  std::vector<uint8_t> rgb;     // the same pixels, 3 bytes each
  std::vector<uint8_t> canvas;  // the 1280 x 720 frame of the BitmapData form
};

CaptureBuffers& captureBuffers() {
  static CaptureBuffers buffers;
  return buffers;
}

// Hands one packed 24-bit frame to the SDK: true when it answers 0.
bool sendFrame(uint32_t width, uint32_t height, uint8_t* pixels, uint32_t size) {
  ilive::VideoFrame frame;  // identifier: the empty text
  frame.colorFormat = ilive::COLOR_FORMAT_RGB24;
  frame.width = width;
  frame.height = height;
  frame.flag = 0;
  frame.sourceKind = ilive::VIDEO_SRC_CAMERA;
  frame.value = 0;
  frame.dataSize = size;
  frame.data = pixels;
  frame.timestamp = 0;
  return core::ask([&] { return GetILive()->fillExternalCaptureFrame(frame) == 0; }).value_or(false);
}

}  // namespace

// ---- Media files ----

ANE_FUNCTION(isValidMediaFile) {
  const std::string path = core::Args(argc, argv).string(0);
  debugMode.print("\n%s%s,%s\n", kPrefix, "isValidMediaFile", path.c_str());
  return core::newBool(core::ask([&] { return GetILive()->isValidMediaFile(toSdkString(path)); }).value_or(false));
}

ANE_FUNCTION(openPlayMediaFile) {
  const std::string path = core::Args(argc, argv).string(0);
  debugMode.print("\n%s%s,%s\n", kPrefix, "openPlayMediaFile", path.c_str());
  return core::newBool(core::ask([&] {
    GetILive()->openPlayMediaFile(toSdkString(path));  // its answer is not read
  }));
}

ANE_FUNCTION(pausePlayMediaFile) {
  traceCall("pausePlayMediaFile");
  return core::newBool(core::ask([] { return GetILive()->pausePlayMediaFile() == 0; }).value_or(false));
}

ANE_FUNCTION(resumePlayMediaFile) {
  traceCall("resumePlayMediaFile");
  return core::newBool(core::ask([] { return GetILive()->resumePlayMediaFile() == 0; }).value_or(false));
}

ANE_FUNCTION(closePlayMediaFile) {
  traceCall("closePlayMediaFile");
  return core::newBool(core::ask([] { GetILive()->closePlayMediaFile(); }));
}

ANE_FUNCTION(getPlayMediaFileState) {
  const int32_t state = shownState(core::ask([] { return GetILive()->getPlayMediaFileState(); }).value_or(kNoState));
  debugMode.print("\n%s%s == %i\n", kPrefix, "getPlayMediaFileState", state);
  return core::newInt32(state);
}

ANE_FUNCTION(getPlayMediaFilePos) {
  debugMode.print("\n%s%s\n", kPrefix, "getPlayMediaFilePos");
  int64_t position = 0;
  int64_t duration = 0;
  const auto found = core::ask([&] { return GetILive()->getPlayMediaFilePos(position, duration); });
  if (!found || *found != 0) return nullptr;  // refused, or the SDK threw
  // std::to_string gives the same decimal text as "%I64d" on Windows.
  return core::newString(std::to_string(position) + "||" + std::to_string(duration));
}

ANE_FUNCTION(setPlayMediaFilePos) {
  const int32_t position = core::Args(argc, argv).int32(0);
  debugMode.print("\n%s%s==%i\n", kPrefix, "setPlayMediaFilePos", position);
  const int64_t value = position;  // sign-extended
  return core::newBool(core::ask([&] { return GetILive()->setPlayMediaFilePos(value) == 0; }).value_or(false));
}

// ---- Local recording ----

ANE_FUNCTION(startLocalRecord) {
  const std::string path = core::Args(argc, argv).string(0);
  debugMode.print("\n%s%s==%s\n", kPrefix, "startLocalRecord", path.c_str());
  return core::newBool(core::ask([&] { GetILive()->startLocalRecord(toSdkString(path), recordDelegate()); }));
}

ANE_FUNCTION(stopLocalRecord) {
  debugMode.print("\n%s%s\n", kPrefix, "stopLocalRecord");
  return trueOrNull(core::ask([] { GetILive()->stopLocalRecord(); }));
}

// ---- External capture ----

ANE_FUNCTION(openExternalCapture) {
  traceCall("openExternalCapture");
  return core::newBool(core::ask([] { GetILive()->openExternalCapture(); }));
}

ANE_FUNCTION(closeExternalCapture) {
  traceCall("closeExternalCapture");
  return core::newBool(core::ask([] { GetILive()->closeExternalCapture(); }));
}

// A ByteArray of width x height 4-byte pixels, sent as width x height 3-byte
// pixels in the rows' own order. Refused (false, nothing sent): sizes that are
// not positive or whose byte count does not fit in 32 bits, and a ByteArray
// holding fewer than width x height x 4 bytes.
ANE_FUNCTION(fillExternalCaptureByteFrame) {
  core::Args args(argc, argv);
  debugMode.print("\n%s%s\n", kPrefix, "fillExternalCaptureByteFrame");
  const int32_t width = args.int32(1);
  const int32_t height = args.int32(2);
  if (width <= 0 || height <= 0) return core::newBool(false);
  const uint32_t rgbaBytes = core::bgraFrameBytes(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
  if (rgbaBytes == 0) return core::newBool(false);
  const uint32_t rgbBytes = rgbaBytes / 4 * 3;
  FREObject array = args.object(0);
  if (!core::isObjectOfType(array, FRE_TYPE_BYTEARRAY)) return core::newBool(false);

  CaptureBuffers& buffers = captureBuffers();
  std::lock_guard<std::mutex> lock(buffers.mutex);
  // Copy the pixels out and let go of the array before converting them.
  FREByteArray bytes{};
  if (FREAcquireByteArray(array, &bytes) != FRE_OK) return core::newBool(false);
  const bool enough = bytes.bytes && bytes.length >= rgbaBytes;
  if (enough) {
    buffers.rgba.resize(rgbaBytes);
    std::memcpy(buffers.rgba.data(), bytes.bytes, rgbaBytes);
  }
  FREReleaseByteArray(array);
  if (!enough) return core::newBool(false);

  buffers.rgb.assign(rgbBytes, 0);
  core::rgbaToRgb(buffers.rgba.data(), buffers.rgb.data(), rgbaBytes);
  return core::newBool(
      sendFrame(static_cast<uint32_t>(width), static_cast<uint32_t>(height), buffers.rgb.data(), rgbBytes));
}

// A BitmapData, centred on a black 1280 x 720 canvas and sent bottom row first.
// The rows are read in image order whatever the runtime's row order and
// stride; a bitmap taller than 720 rows keeps its top 720. Refused (false,
// nothing sent): a bitmap wider than the canvas.
ANE_FUNCTION(fillExternalCaptureBitmapFrame) {
  core::Args args(argc, argv);
  debugMode.print("\n%s%s\n", kPrefix, "fillExternalCaptureBitmapFrame");
  FREObject object = args.object(0);
  if (!core::isObjectOfType(object, FRE_TYPE_BITMAPDATA)) return core::newBool(false);

  CaptureBuffers& buffers = captureBuffers();
  std::lock_guard<std::mutex> lock(buffers.mutex);
  FREBitmapData2 bitmap{};
  if (FREAcquireBitmapData2(object, &bitmap) != FRE_OK) return core::newBool(false);
  const uint32_t width = bitmap.width;
  // Rows below the canvas would be dropped by the centring anyway.
  const uint32_t height = bitmap.height < kCanvasHeight ? bitmap.height : kCanvasHeight;
  const bool usable = width <= kCanvasWidth && (height == 0 || (bitmap.bits32 && bitmap.lineStride32 >= width));
  if (usable) {
    buffers.rgba.resize(static_cast<size_t>(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y) {
      const uint32_t stored = bitmap.isInvertedY ? bitmap.height - 1 - y : y;
      const uint32_t* row = bitmap.bits32 + static_cast<size_t>(stored) * bitmap.lineStride32;
      std::memcpy(buffers.rgba.data() + static_cast<size_t>(y) * width * 4, row, static_cast<size_t>(width) * 4);
    }
  }
  FREReleaseBitmapData(object);
  if (!usable) return core::newBool(false);

  const uint32_t rgbaBytes = width * height * 4;
  const uint32_t rgbBytes = width * height * 3;
  buffers.rgb.assign(rgbBytes, 0);
  core::rgbaToRgb(buffers.rgba.data(), buffers.rgb.data(), rgbaBytes);
  buffers.canvas.assign(kCanvasBytes, 0);
  const core::Size canvasSize{static_cast<int32_t>(kCanvasWidth), static_cast<int32_t>(kCanvasHeight)};
  const core::Size pictureSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
  // An empty bitmap leaves the canvas black.
  core::copyCentred(buffers.canvas.data(), buffers.rgb.data(), kCanvasBytes, rgbBytes, &canvasSize, &pictureSize, 3);
  core::flipRgb24Rows(buffers.canvas.data(), kCanvasBytes, kCanvasWidth, kCanvasHeight);
  return core::newBool(sendFrame(kCanvasWidth, kCanvasHeight, buffers.canvas.data(), kCanvasBytes));
}

// ---- Custom data ----

ANE_FUNCTION(fillCustomData) {
  core::Args args(argc, argv);
  const std::string text = args.string(0);
  const int32_t kind = args.int32(1);
  const int32_t code = kind == kCustomDataKindSecond  ? kCustomDataCodeSecond
                       : kind == kCustomDataKindThird ? kCustomDataCodeThird
                                                      : kCustomDataCodeOther;
  // The SDK copies what it keeps during the call, so the bytes are ours to
  // free when it returns.
  std::vector<uint8_t> bytes(text.begin(), text.end());
  ilive::CustomData data;  // identifier: the empty text
  data.size = static_cast<uint32_t>(bytes.size());
  data.data = bytes.data();
  data.kind = code;
  return core::newBool(core::ask([&] { return GetILive()->sendCustomData(data) == 0; }).value_or(false));
}

}  // namespace brisora
