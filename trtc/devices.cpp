// Cameras, microphones and speakers: lists by name, selection by position,
// the current device and the volumes. Main thread only. Every list or select
// call asks the SDK for a fresh collection and releases it before returning;
// nothing is kept between calls.
//
// Names go to ActionScript as the UTF-8 the SDK gives (invalid bytes become
// U+FFFD), so a name reads the same on every Windows code page; the trace
// prints the list in the code page 936 form of the Chinese console.
#include <cstdio>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "core/text.h"
#include "trtc/devices.h"
#include "trtc/functions.h"
#include "trtc/manager.h"
#include "trtc/sdk_call.h"

namespace tamvex {
namespace {

using core::Args;

// The operations of one device kind on the cloud instance.
struct DeviceKind {
  const char* listFunction;  // the ActionScript (and SDK) name of the list call
  ITRTCDeviceCollection* (ITRTCCloud::*list)();
  int (ITRTCCloud::*select)(const char*);
  ITRTCDeviceInfo* (ITRTCCloud::*current)();
};

const DeviceKind kCameras{"getCameraDevicesList", &ITRTCCloud::getCameraDevicesList,
                          &ITRTCCloud::setCurrentCameraDevice, &ITRTCCloud::getCurrentCameraDevice};
const DeviceKind kMics{"getMicDevicesList", &ITRTCCloud::getMicDevicesList, &ITRTCCloud::setCurrentMicDevice,
                       &ITRTCCloud::getCurrentMicDevice};
const DeviceKind kSpeakers{"getSpeakerDevicesList", &ITRTCCloud::getSpeakerDevicesList,
                           &ITRTCCloud::setCurrentSpeakerDevice, &ITRTCCloud::getCurrentSpeakerDevice};

// The number of entries of a collection: its count read as signed, so that
// 0 or less gives none.
int32_t entries(ITRTCDeviceCollection& collection) { return static_cast<int32_t>(collection.getCount()); }

}  // namespace

// Each name is converted once, and for the console only while tracing, so a
// long list costs time linear in its length.
DeviceNames deviceNames(ITRTCDeviceCollection& collection) {
  DeviceNames out;
  const bool tracing = debugMode.on();
  for (int32_t i = 0; i < entries(collection); ++i) {
    const char* name = collection.getDeviceName(static_cast<uint32_t>(i));
    // A collection with no name at a position has no device there: the list ends.
    if (!name) break;
    if (i > 0) {
      out.utf8 += "||";
      if (tracing) out.console += "||";
    }
    out.utf8 += name;
    if (tracing) out.console += core::utf8ToLocal(name);
  }
  out.utf8 = core::validUtf8(out.utf8);
  return out;
}

namespace {

FREObject deviceList(const DeviceKind& kind) {
  traceCall(kind.listFunction);
  DeviceNames names;
  onCloud([&](ITRTCCloud& cloud) {
    SdkReleaser<ITRTCDeviceCollection> collection((cloud.*kind.list)());
    if (collection) names = deviceNames(*collection.get());
  });
  debugMode.print("\n %s %s= %s", kPrefix, kind.listFunction, names.console.c_str());
  return core::newString(names.utf8);
}

// Selects the device at `index` of a fresh collection. An index that the
// collection does not hold selects nothing and answers false.
FREObject selectDevice(const DeviceKind& kind, int32_t index) {
  bool selected = false;
  onCloud([&](ITRTCCloud& cloud) {
    SdkReleaser<ITRTCDeviceCollection> collection((cloud.*kind.list)());
    if (!collection || index < 0 || index >= entries(*collection.get())) return;
    const char* id = collection->getDevicePID(static_cast<uint32_t>(index));
    if (!id) return;
    (cloud.*kind.select)(id);
    selected = true;
  });
  return core::newBool(selected);
}

FREObject currentDevice(const DeviceKind& kind) {
  std::string name;
  onCloud([&](ITRTCCloud& cloud) {
    SdkReleaser<ITRTCDeviceInfo> info((cloud.*kind.current)());
    if (info) name = fromSdkText(info->getDeviceName());
  });
  return core::newString(core::validUtf8(name));
}

}  // namespace

ANE_FUNCTION(getCameraDevicesList) {
  return deviceList(kCameras);
}

ANE_FUNCTION(getMicDevicesList) {
  return deviceList(kMics);
}

ANE_FUNCTION(getSpeakerDevicesList) {
  return deviceList(kSpeakers);
}

ANE_FUNCTION(setCurrentCameraDevice) {
  traceCall("setCurrentCameraDevice");
  return selectDevice(kCameras, Args(argc, argv).int32(0));
}

ANE_FUNCTION(setCurrentMicDevice) {
  traceCall("setCurrentMicDevice");
  return selectDevice(kMics, Args(argc, argv).int32(0));
}

ANE_FUNCTION(setCurrentSpeakerDevice) {
  traceCall("setCurrentSpeakerDevice");
  return selectDevice(kSpeakers, Args(argc, argv).int32(0));
}

// The only device function without a trace line.
ANE_FUNCTION(getCurrentCameraDevice) {
  return currentDevice(kCameras);
}

ANE_FUNCTION(getCurrentMicDevice) {
  traceCall("getCurrentMicDevice");
  return currentDevice(kMics);
}

ANE_FUNCTION(getCurrentSpeakerDevice) {
  traceCall("getCurrentSpeakerDevice");
  return currentDevice(kSpeakers);
}

ANE_FUNCTION(getCurrentMicDeviceVolume) {
  traceCall("getCurrentMicDeviceVolume");
  uint32_t volume = 0;
  onCloud([&](ITRTCCloud& cloud) { volume = cloud.getCurrentMicDeviceVolume(); });
  return core::newUint32(volume);
}

ANE_FUNCTION(setCurrentMicDeviceVolume) {
  traceCall("setCurrentMicDeviceVolume");
  const uint32_t volume = static_cast<uint32_t>(Args(argc, argv).int32(0));
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setCurrentMicDeviceVolume(volume); }));
}

ANE_FUNCTION(getCurrentSpeakerVolume) {
  traceCall("getCurrentSpeakerVolume");
  uint32_t volume = 0;
  onCloud([&](ITRTCCloud& cloud) { volume = cloud.getCurrentSpeakerVolume(); });
  return core::newUint32(volume);
}

ANE_FUNCTION(setCurrentSpeakerVolume) {
  traceCall("setCurrentSpeakerVolume");
  const uint32_t volume = static_cast<uint32_t>(Args(argc, argv).int32(0));
  return core::newBool(onCloud([&](ITRTCCloud& cloud) { cloud.setCurrentSpeakerVolume(volume); }));
}

}  // namespace tamvex
