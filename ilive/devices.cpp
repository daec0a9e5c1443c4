// Local devices: cameras, microphones, speakers, window and rectangle share,
// system-sound capture and the skin grades. Devices are opened by their
// position in a listing that is fetched again from the SDK at open time.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "core/text.h"
#include "ilive/brisora.h"
#include "ilive/call_edge.h"
#include "ilive/functions.h"
#include "ilive/sdk/ilive.h"

namespace brisora {
namespace {

using DeviceList = ilive::SdkVector<ilive::DeviceInfo>;
using WindowList = ilive::SdkVector<ilive::WindowInfo>;
using DeviceListing = int32_t (ilive::iLive::*)(DeviceList&);

bool inList(int32_t index, uint32_t count) { return index >= 0 && static_cast<uint32_t>(index) < count; }

// The names of a listing joined by "||", from the ANSI code page to UTF-8.
// The lists release their SDK storage when they go out of scope, in every path.
template <class List>
std::string joinNames(const List& list) {
  ilive::SdkString joined;
  for (uint32_t i = 0; i < list.size(); ++i) {
    if (i > 0) joined.append("||", 2);
    joined.append(list[i].second);
  }
  return core::ansiToUtf8(std::string(joined.c_str(), joined.size()));
}

// getCameraNames and getMicNames answer null for an empty list;
// getSpeakerNames an empty String.
FREObject deviceNames(DeviceListing listing, bool nullWhenEmpty) {
  DeviceList list;
  if ((GetILive()->*listing)(list) != 0) return nullptr;
  if (nullWhenEmpty && list.empty()) return nullptr;
  return core::newString(joinNames(list));
}

// openMic and openSpeaker: null when the listing fails, false for an index
// outside the list, true once the open call was made (false when it throws).
FREObject openByIndex(uint32_t argc, FREObject argv[], const char* word, DeviceListing listing,
                      int32_t (ilive::iLive::*open)(const ilive::SdkString&)) {
  core::Args args(argc, argv);
  const int32_t index = args.int32(0);
  trace("\n%s%s,%i\n", kPrefix, word, index);
  DeviceList list;
  if ((GetILive()->*listing)(list) != 0) return nullptr;
  if (!inList(index, list.size())) return core::newBool(false);
  try {
    (GetILive()->*open)(list[static_cast<uint32_t>(index)].first);
  } catch (const std::exception&) {
    return core::newBool(false);
  }
  return core::newBool(true);
}

// The common shape of the remaining device functions: the trace, one guarded
// SDK call, its answer made into a result (or the fallback when it throws).
template <class Call, class Make>
FREObject guardedCall(const char* word, Call&& call, Make&& make, FREObject (*onThrow)()) {
  trace("\n%s%s\n", kPrefix, word);
  try {
    return make(call(GetILive()));
  } catch (const std::exception&) {
    return onThrow();
  }
}

FREObject answerFalse() { return core::newBool(false); }
FREObject answerMinusOne() { return core::newUint32(4294967295u); }
FREObject answerZero() { return core::newInt32(0); }
FREObject alwaysTrue(int32_t) { return core::newBool(true); }
FREObject asBool(bool value) { return core::newBool(value); }
FREObject asUint(uint32_t value) { return core::newUint32(value); }

// A volume setter answers true even when the SDK throws.
FREObject setVolume(int32_t volume, int32_t (ilive::iLive::*set)(int32_t)) {
  try {
    (GetILive()->*set)(volume);
  } catch (const std::exception&) {
  }
  return core::newBool(true);
}

}  // namespace

// ---- Cameras ----

BRISORA_FUNCTION(openCamera) {
  (void)ctx;
  (void)functionData;
  return atEdge([&]() -> FREObject {
    core::Args args(argc, argv);
    const int32_t index = args.int32(0);
    trace("\n%s%s,%i\n", kPrefix, "openCamera", index);
    DeviceList list;
    if (GetILive()->getCameraList(list) != 0 || list.empty() || !inList(index, list.size())) {
      return core::newBool(false);
    }
    try {
      const ilive::DeviceInfo& entry = list[static_cast<uint32_t>(index)];
      trace("\n%s%s,%s\n", kPrefix, "Usb Camera:", entry.second.c_str());
      const ilive::SdkString id(entry.first.c_str(), entry.first.size());
      GetILive()->openCamera(id);
    } catch (const std::exception&) {
      return core::newBool(false);
    }
    return core::newBool(true);
  });
}

BRISORA_FUNCTION(getCurCameraState) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getCurCameraState", [](ilive::iLive* live) { return live->getCurCameraState(); }, asBool, answerFalse);
  });
}

BRISORA_FUNCTION(closeCamera) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "closeCamera", [](ilive::iLive* live) { return live->closeCamera(); }, alwaysTrue, answerFalse);
  });
}

BRISORA_FUNCTION(getCameraNames) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] { return deviceNames(&ilive::iLive::getCameraList, true); });
}

// ---- Microphones ----

BRISORA_FUNCTION(openMic) {
  (void)ctx, (void)functionData;
  return atEdge([&] { return openByIndex(argc, argv, "openMic", &ilive::iLive::getMicList, &ilive::iLive::openMic); });
}

BRISORA_FUNCTION(getMicVolume) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getMicVolume", [](ilive::iLive* live) { return live->getMicVolume(); }, asUint, answerMinusOne);
  });
}

BRISORA_FUNCTION(setMicVolume) {
  (void)ctx, (void)functionData;
  return atEdge([&] {
    const int32_t volume = core::Args(argc, argv).int32(0);
    trace("\n%s%s%i\n", kPrefix, "setMicVolume:", volume);
    return setVolume(volume, &ilive::iLive::setMicVolume);
  });
}

BRISORA_FUNCTION(getCurMicState) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getCurMicState", [](ilive::iLive* live) { return live->getCurMicState(); }, asBool, answerFalse);
  });
}

BRISORA_FUNCTION(closeMic) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "closeMic", [](ilive::iLive* live) { return live->closeMic(); }, alwaysTrue, answerFalse);
  });
}

BRISORA_FUNCTION(getMicNames) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    trace("\n%s%s\n", kPrefix, "getMicNames");
    return deviceNames(&ilive::iLive::getMicList, true);
  });
}

// ---- Speakers ----

BRISORA_FUNCTION(openSpeaker) {
  (void)ctx, (void)functionData;
  return atEdge(
      [&] { return openByIndex(argc, argv, "openSpeaker", &ilive::iLive::getSpeakerList, &ilive::iLive::openSpeaker); });
}

BRISORA_FUNCTION(getCurPlayerState) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getCurPlayerState", [](ilive::iLive* live) { return live->getCurPlayerState(); }, asBool, answerFalse);
  });
}

BRISORA_FUNCTION(getSpeakerNames) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] { return deviceNames(&ilive::iLive::getSpeakerList, false); });
}

BRISORA_FUNCTION(setPlayerVolume) {
  (void)ctx, (void)functionData;
  return atEdge([&] {
    trace("\n%s%s\n", kPrefix, "setPlayerVolume");  // printed before the volume is read, without it
    const int32_t volume = core::Args(argc, argv).int32(0);
    return setVolume(volume, &ilive::iLive::setPlayerVolume);
  });
}

BRISORA_FUNCTION(getPlayerVolume) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getPlayerVolume", [](ilive::iLive* live) { return live->getPlayerVolume(); }, asUint, answerMinusOne);
  });
}

BRISORA_FUNCTION(closeSpeaker) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "closeSpeaker", [](ilive::iLive* live) { return live->closeSpeaker(); }, alwaysTrue, answerFalse);
  });
}

// ---- Screen and window share ----

BRISORA_FUNCTION(getScreenShareState) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getScreenShareState", [](ilive::iLive* live) { return live->getScreenShareState(); },
        [](int32_t state) { return core::newInt32(state == 1 || state == 2 ? state : 0); }, answerZero);
  });
}

BRISORA_FUNCTION(getScreenShareNames) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([]() -> FREObject {
    WindowList list;
    if (GetILive()->getWindowList(list) != 0) return nullptr;
    return core::newString(joinNames(list));
  });
}

BRISORA_FUNCTION(openScreenShare) {
  (void)ctx, (void)functionData;
  return atEdge([&]() -> FREObject {
    core::Args args(argc, argv);
    const int32_t index = args.int32(0);
    uint32_t fps = args.uint32(1);
    trace("\n%s%s,%i\n", kPrefix, "openScreenShare", index);
    WindowList list;
    if (GetILive()->getWindowList(list) != 0) return nullptr;
    if (!inList(index, list.size())) return core::newBool(false);
    try {
      GetILive()->openScreenShare(list[static_cast<uint32_t>(index)].first, fps);
    } catch (const std::exception&) {
      return core::newBool(false);
    }
    return core::newBool(true);
  });
}

BRISORA_FUNCTION(openScreenRectangleShare) {
  (void)ctx, (void)functionData;
  return atEdge([&]() -> FREObject {
    core::Args args(argc, argv);
    int32_t left = args.int32(0);
    int32_t top = args.int32(1);
    int32_t right = args.int32(2);
    int32_t bottom = args.int32(3);
    uint32_t fps = args.uint32(4);
    // The word is "openScreenShare", as the window share prints it.
    trace("\n%s%s,%i,%i,%i,%i,%i\n", kPrefix, "openScreenShare", left, top, right, bottom, static_cast<int>(fps));
    try {
      GetILive()->openScreenShareArea(left, top, right, bottom, fps);
    } catch (const std::exception&) {
      return core::newBool(false);
    }
    return core::newBool(true);
  });
}

BRISORA_FUNCTION(closeScreenShare) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "closeScreenShare", [](ilive::iLive* live) { return live->closeScreenShare(); }, alwaysTrue, answerFalse);
  });
}

// ---- System-sound capture ----

BRISORA_FUNCTION(openSystemVoiceInput) {
  (void)ctx, (void)functionData;
  return atEdge([&] {
    const std::string text = core::Args(argc, argv).string(0);
    const ilive::SdkString playerPath(text.data(), text.size());  // empty text: the SDK's shared empty value
    GetILive()->openSystemVoiceInput(playerPath);
    return core::newBool(true);
  });
}

BRISORA_FUNCTION(closeSystemVoiceInput) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([]() -> FREObject {
    GetILive()->closeSystemVoiceInput();
    return nullptr;
  });
}

BRISORA_FUNCTION(setSystemVoiceInputVolume) {
  (void)ctx, (void)functionData;
  return atEdge([&] {
    const int32_t volume = core::Args(argc, argv).int32(0);
    trace("\n%s%s%i\n", kPrefix, "setSystemVoiceInputVolume:", volume);
    return setVolume(volume, &ilive::iLive::setSystemVoiceInputVolume);
  });
}

BRISORA_FUNCTION(getSystemVoiceInputVolume) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getSystemVoiceInputVolume", [](ilive::iLive* live) { return live->getSystemVoiceInputVolume(); }, asUint,
        answerMinusOne);
  });
}

BRISORA_FUNCTION(getCurSystemVoiceInputState) {
  (void)ctx, (void)functionData, (void)argc, (void)argv;
  return atEdge([] {
    return guardedCall(
        "getCurSystemVoiceInputState", [](ilive::iLive* live) { return live->getCurSystemVoiceInputState(); },
        asBool, answerFalse);
  });
}

// ---- Skin grades ----

BRISORA_FUNCTION(setSkinSmoothGrade) {
  (void)ctx, (void)functionData;
  return atEdge([&] {
    const int32_t grade = core::Args(argc, argv).int32(0);
    return core::newBool(GetILive()->setSkinSmoothGrade(grade) == 0);
  });
}

BRISORA_FUNCTION(setSkinWhitenessGrade) {
  (void)ctx, (void)functionData;
  return atEdge([&] {
    const int32_t grade = core::Args(argc, argv).int32(0);
    return core::newBool(GetILive()->setSkinWhitenessGrade(grade) == 0);
  });
}

}  // namespace brisora
