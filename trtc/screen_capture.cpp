// Screen capture into the sub stream: the list of capturable windows and
// screens with their thumbnails, the choice of one with a capture rectangle,
// and start, pause, resume, stop, encoder and mixing volume.
//
// State: `screenList`, the source list of the last listing. Owner: the AIR
// main thread; every function here and releaseScreenList (dispose, context
// finalizer) run there, so it takes no lock. It is released and cleared before
// the cloud instance it came from is destroyed.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/args.h"
#include "core/pixels.h"
#include "core/results.h"
#include "core/text.h"
#include "trtc/functions.h"
#include "trtc/manager.h"
#include "trtc/sdk_call.h"
#include "trtc/video_codes.h"

namespace tamvex {
namespace {

using core::Args;

ITRTCScreenCaptureSourceList* screenList = nullptr;  // main thread only

int32_t sourceIdOf(const TRTCScreenCaptureSourceInfo& source) {
  return static_cast<int32_t>(reinterpret_cast<intptr_t>(source.sourceId));
}

// Window, screen and custom are reported as they are, anything else as unknown.
int32_t typeCodeOf(const TRTCScreenCaptureSourceInfo& source) {
  const int32_t type = static_cast<int32_t>(source.type);
  return type >= kSourceTypeWindow && type <= kSourceTypeCustom ? type : kSourceTypeUnknown;
}

// The first source of the kept list with the id, if any; none when the list
// fails while it is searched.
bool findSource(int32_t id, TRTCScreenCaptureSourceInfo* found) {
  return core::ask([&] {
           for (uint32_t i = 0; i < screenList->getCount(); ++i) {
             TRTCScreenCaptureSourceInfo source = screenList->getSourceInfo(i);
             if (sourceIdOf(source) == id) {
               *found = source;
               return true;
             }
           }
           return false;
         })
      .value_or(false);
}

// Sets the ByteArray to width x height x 4 bytes and copies the thumbnail in.
// Never reads past the image's own byte length (nor from a null pixel
// pointer): bytes the image lacks are left zero.
void copyThumbnail(FREObject target, const TRTCImageBuffer& image) {
  const uint32_t size = core::bgraFrameBytes(image.width, image.height);
  const uint32_t available = image.buffer ? std::min(size, image.length) : 0;
  const auto* pixels = reinterpret_cast<const uint8_t*>(image.buffer);
  if (available == size) {
    core::fillByteArray(target, pixels, size);
    return;
  }
  std::vector<uint8_t> padded(size, 0);
  if (available > 0) std::memcpy(padded.data(), pixels, available);
  core::fillByteArray(target, padded.data(), size);
}

}  // namespace

void releaseScreenList() {
  ITRTCScreenCaptureSourceList* list = screenList;
  screenList = nullptr;
  if (list) core::releaseQuietly([list] { list->release(); });
}

ANE_FUNCTION(getScreenCaptureSources) {
  traceCall("getScreenCaptureSources");
  Args args(argc, argv);
  TXSize thumbSize, iconSize;
  thumbSize.cx = args.int32(0);
  thumbSize.cy = args.int32(1);
  iconSize.cx = args.int32(2);
  iconSize.cy = args.int32(3);

  std::string text;
  const bool listed = onCloud([&](ITRTCCloud& cloud) {
    releaseScreenList();
    screenList = cloud.getScreenCaptureSources(thumbSize, iconSize);
    if (!screenList) return;
    for (uint32_t i = 0; i < screenList->getCount(); ++i) {
      const TRTCScreenCaptureSourceInfo source = screenList->getSourceInfo(i);
      const int32_t id = sourceIdOf(source);
      const int32_t type = typeCodeOf(source);
      const std::string name = fromSdkText(source.sourceName);
      std::printf("\n getScreenCaptureSources:id:%i , type=%i, %s", id, type,
                  core::utf8ToLocal(name).c_str());
      if (i > 0) text += "||";
      text += core::intToString(id) + "|-|" + core::intToString(type) + "|-|" + name;
    }
  });
  if (!listed) text.clear();
  return core::newString(core::validUtf8(text));
}

ANE_FUNCTION(getScreenCaptureTargetThumb) {
  traceCall("getScreenCaptureTargetThumb");
  if (!screenList) {
    std::printf("\n screenList not init");
    return core::newBool(false);
  }
  Args args(argc, argv);
  const int32_t id = args.int32(0);
  FREObject target = args.object(1);
  TRTCScreenCaptureSourceInfo source;
  if (!findSource(id, &source)) return nullptr;
  // Without a ByteArray there is nowhere to copy to; the size is still told.
  if (target) copyThumbnail(target, source.thumbBGRA);
  return core::newString(core::uintToString(source.thumbBGRA.width) + "||" +
                         core::uintToString(source.thumbBGRA.height));
}

ANE_FUNCTION(selectScreenCaptureTarget) {
  traceCall("selectScreenCaptureTarget");
  if (!screenList) {
    std::printf("\n screenList not init");
    return core::newBool(false);
  }
  Args args(argc, argv);
  const int32_t id = args.int32(0);
  TXRect rect;
  rect.left = args.int32(1);
  rect.top = args.int32(2);
  rect.right = args.int32(3);
  rect.bottom = args.int32(4);
  const bool firstOption = args.boolean(5);
  const bool secondOption = args.boolean(6);
  // An id that the last listing does not hold selects nothing: the SDK is not
  // handed a record of some other source.
  TRTCScreenCaptureSourceInfo source;
  if (!findSource(id, &source)) return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& cloud) {
    cloud.selectScreenCaptureTarget(source, rect, firstOption, secondOption);
  }));
}

ANE_FUNCTION(startScreenCapture) {
  traceCall("startScreenCapture");
  return core::newBool(onCloud([](ITRTCCloud& cloud) { cloud.startScreenCapture(nullptr); }));
}

ANE_FUNCTION(pauseScreenCapture) {
  traceCall("pauseScreenCapture");
  return core::newBool(onCloud([](ITRTCCloud& cloud) { cloud.pauseScreenCapture(); }));
}

ANE_FUNCTION(resumeScreenCapture) {
  traceCall("resumeScreenCapture");
  return core::newBool(onCloud([](ITRTCCloud& cloud) { cloud.resumeScreenCapture(); }));
}

ANE_FUNCTION(stopScreenCapture) {
  traceCall("stopScreenCapture");
  RtcManager& m = RtcManager::instance();
  m.pool.trim(m.localUser.get(), kSubStream);
  return core::newBool(onCloud([](ITRTCCloud& cloud) { cloud.stopScreenCapture(); }));
}

ANE_FUNCTION(setSubStreamEncoderParam) {
  traceCall("setSubStreamEncoderParam");
  Args args(argc, argv);
  TRTCVideoEncParam param;
  if (!makeEncoderParam(args.int32(0), args.int32(1), args.int32(2), args.int32(3), &param))
    return core::newBool(false);
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setSubStreamEncoderParam(param); }));
}

ANE_FUNCTION(setSubStreamMixVolume) {
  traceCall("setSubStreamMixVolume");
  const uint32_t volume = static_cast<uint32_t>(Args(argc, argv).int32(0));
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setSubStreamMixVolume(volume); }));
}

}  // namespace tamvex
