// Local devices: cameras, microphones, speakers, window and rectangle share,
// system-sound capture and the skin grades. Devices are opened by their
// position in a listing that is fetched again from the SDK at open time.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "core/args.h"
#include "core/results.h"
#include "core/text.h"
#include "ilive/brisora.h"
#include "ilive/codes.h"
#include "ilive/sdk_call.h"
#include "ilive/functions.h"
#include "ilive/sdk/ilive.h"

namespace brisora {
namespace {

using DeviceList = ilive::SdkVector<ilive::DeviceInfo>;
using WindowList = ilive::SdkVector<ilive::WindowInfo>;
using DeviceListing = int32_t (ilive::iLive::*)(DeviceList&);

bool inList(int32_t index, uint32_t count) { return index >= 0 && static_cast<uint32_t>(index) < count; }

// A listing into `list`: the SDK's answer (0 when it listed), nothing when it
// threw. Every function that lists answers null then, as one whose call
// ended without a value.
template <class List>
std::optional<int32_t> askListing(int32_t (ilive::iLive::*listing)(List&), List& list) {
  return core::ask([&] { return (GetILive()->*listing)(list); });
}

bool listed(const std::optional<int32_t>& answer) { return answer && *answer == 0; }

// The names of a listing joined by "||", from the ANSI code page to UTF-8.
// The lists release their SDK storage when they go out of scope, in every path.
// Joined in one buffer of the final length, so that a long list costs time
// linear in its length.
template <class List>
std::string joinNames(const List& list) {
  size_t length = 0;
  for (uint32_t i = 0; i < list.size(); ++i) length += list[i].second.size() + 2;
  std::string joined;
  joined.reserve(length);
  for (uint32_t i = 0; i < list.size(); ++i) {
    if (i > 0) joined.append("||", 2);
    joined.append(list[i].second.c_str(), list[i].second.size());
  }
  return core::ansiToUtf8(joined);
}

// getCameraNames and getMicNames answer null for an empty list;
// getSpeakerNames an empty String.
FREObject deviceNames(DeviceListing listing, bool nullWhenEmpty) {
  DeviceList list;
  if (!listed(askListing(listing, list))) return nullptr;
  if (nullWhenEmpty && list.empty()) return nullptr;
  return core::newString(joinNames(list));
}

// openMic and openSpeaker: null when the listing fails, false for an index
// outside the list, true once the open call was made (false when it throws).
FREObject openByIndex(uint32_t argc, FREObject argv[], const char* word, DeviceListing listing,
                      int32_t (ilive::iLive::*open)(const ilive::SdkString&)) {
  core::Args args(argc, argv);
  const int32_t index = args.int32(0);
  debugMode.print("\n%s%s,%i\n", kPrefix, word, index);
  DeviceList list;
  if (!listed(askListing(listing, list))) return nullptr;
  if (!inList(index, list.size())) return core::newBool(false);
  return core::newBool(core::ask([&] { (GetILive()->*open)(list[static_cast<uint32_t>(index)].first); }));
}

// The trace line, then a state question: false when the SDK throws.
FREObject askState(const char* word, bool (ilive::iLive::*state)()) {
  traceCall(word);
  return core::newBool(core::ask([&] { return (GetILive()->*state)(); }).value_or(false));
}

// The trace line, then a volume question: 4294967295 when the SDK throws.
FREObject askVolume(const char* word, uint32_t (ilive::iLive::*volume)()) {
  traceCall(word);
  return core::newUint32(core::ask([&] { return (GetILive()->*volume)(); }).value_or(4294967295u));
}

// The trace line, then a close call whose answer is not read: true once it
// returned, false when it throws.
FREObject close(const char* word, int32_t (ilive::iLive::*closeDevice)()) {
  traceCall(word);
  return core::newBool(core::ask([&] { (GetILive()->*closeDevice)(); }));
}

// A volume setter answers true even when the SDK throws.
FREObject setVolume(int32_t volume, int32_t (ilive::iLive::*set)(int32_t)) {
  core::ask([&] { (GetILive()->*set)(volume); });
  return core::newBool(true);
}

}  // namespace

// ---- Cameras ----

ANE_FUNCTION(openCamera) {
  core::Args args(argc, argv);
  const int32_t index = args.int32(0);
  debugMode.print("\n%s%s,%i\n", kPrefix, "openCamera", index);
  DeviceList list;
  const std::optional<int32_t> answer = askListing(&ilive::iLive::getCameraList, list);
  if (!answer) return nullptr;
  if (*answer != 0 || list.empty() || !inList(index, list.size())) return core::newBool(false);
  return core::newBool(core::ask([&] {
    const ilive::DeviceInfo& entry = list[static_cast<uint32_t>(index)];
    debugMode.print("\n%s%s,%s\n", kPrefix, "Usb Camera:", entry.second.c_str());
    const ilive::SdkString id(entry.first.c_str(), entry.first.size());
    GetILive()->openCamera(id);
  }));
}

ANE_FUNCTION(getCurCameraState) {
  return askState("getCurCameraState", &ilive::iLive::getCurCameraState);
}

ANE_FUNCTION(closeCamera) {
  return close("closeCamera", &ilive::iLive::closeCamera);
}

ANE_FUNCTION(getCameraNames) {
  return deviceNames(&ilive::iLive::getCameraList, true);
}

// ---- Microphones ----

ANE_FUNCTION(openMic) {
  return openByIndex(argc, argv, "openMic", &ilive::iLive::getMicList, &ilive::iLive::openMic);
}

ANE_FUNCTION(getMicVolume) {
  return askVolume("getMicVolume", &ilive::iLive::getMicVolume);
}

ANE_FUNCTION(setMicVolume) {
  const int32_t volume = core::Args(argc, argv).int32(0);
  debugMode.print("\n%s%s%i\n", kPrefix, "setMicVolume:", volume);
  return setVolume(volume, &ilive::iLive::setMicVolume);
}

ANE_FUNCTION(getCurMicState) {
  return askState("getCurMicState", &ilive::iLive::getCurMicState);
}

ANE_FUNCTION(closeMic) {
  return close("closeMic", &ilive::iLive::closeMic);
}

ANE_FUNCTION(getMicNames) {
  debugMode.print("\n%s%s\n", kPrefix, "getMicNames");
  return deviceNames(&ilive::iLive::getMicList, true);
}

// ---- Speakers ----

ANE_FUNCTION(openSpeaker) {
  return openByIndex(argc, argv, "openSpeaker", &ilive::iLive::getSpeakerList, &ilive::iLive::openSpeaker);
}

ANE_FUNCTION(getCurPlayerState) {
  return askState("getCurPlayerState", &ilive::iLive::getCurPlayerState);
}

ANE_FUNCTION(getSpeakerNames) {
  return deviceNames(&ilive::iLive::getSpeakerList, false);
}

ANE_FUNCTION(setPlayerVolume) {
  debugMode.print("\n%s%s\n", kPrefix, "setPlayerVolume");  // printed before the volume is read, without it
  const int32_t volume = core::Args(argc, argv).int32(0);
  return setVolume(volume, &ilive::iLive::setPlayerVolume);
}

ANE_FUNCTION(getPlayerVolume) {
  return askVolume("getPlayerVolume", &ilive::iLive::getPlayerVolume);
}

ANE_FUNCTION(closeSpeaker) {
  return close("closeSpeaker", &ilive::iLive::closeSpeaker);
}

// ---- Screen and window share ----

ANE_FUNCTION(getScreenShareState) {
  traceCall("getScreenShareState");
  return core::newInt32(shownState(core::ask([] { return GetILive()->getScreenShareState(); }).value_or(kNoState)));
}

ANE_FUNCTION(getScreenShareNames) {
  WindowList list;
  if (!listed(askListing(&ilive::iLive::getWindowList, list))) return nullptr;
  return core::newString(joinNames(list));
}

ANE_FUNCTION(openScreenShare) {
  core::Args args(argc, argv);
  const int32_t index = args.int32(0);
  uint32_t fps = args.uint32(1);
  debugMode.print("\n%s%s,%i\n", kPrefix, "openScreenShare", index);
  WindowList list;
  if (!listed(askListing(&ilive::iLive::getWindowList, list))) return nullptr;
  if (!inList(index, list.size())) return core::newBool(false);
  return core::newBool(core::ask([&] {
    GetILive()->openScreenShare(list[static_cast<uint32_t>(index)].first, fps);
  }));
}

ANE_FUNCTION(openScreenRectangleShare) {
  core::Args args(argc, argv);
  int32_t left = args.int32(0);
  int32_t top = args.int32(1);
  int32_t right = args.int32(2);
  int32_t bottom = args.int32(3);
  uint32_t fps = args.uint32(4);
  // The word is "openScreenShare", as the window share prints it.
  debugMode.print("\n%s%s,%i,%i,%i,%i,%i\n", kPrefix, "openScreenShare", left, top, right, bottom, static_cast<int>(fps));
  return core::newBool(core::ask([&] { GetILive()->openScreenShareArea(left, top, right, bottom, fps); }));
}

ANE_FUNCTION(closeScreenShare) {
  return close("closeScreenShare", &ilive::iLive::closeScreenShare);
}

// ---- System-sound capture ----

// true once the SDK was asked, whatever it answered; null when it threw.
ANE_FUNCTION(openSystemVoiceInput) {
  const std::string text = core::Args(argc, argv).string(0);
  const ilive::SdkString playerPath(text.data(), text.size());  // empty text: the SDK's shared empty value
  return trueOrNull(core::ask([&] { GetILive()->openSystemVoiceInput(playerPath); }));
}

ANE_FUNCTION(closeSystemVoiceInput) {
  core::ask([] { GetILive()->closeSystemVoiceInput(); });
  return nullptr;
}

ANE_FUNCTION(setSystemVoiceInputVolume) {
  const int32_t volume = core::Args(argc, argv).int32(0);
  debugMode.print("\n%s%s%i\n", kPrefix, "setSystemVoiceInputVolume:", volume);
  return setVolume(volume, &ilive::iLive::setSystemVoiceInputVolume);
}

ANE_FUNCTION(getSystemVoiceInputVolume) {
  return askVolume("getSystemVoiceInputVolume", &ilive::iLive::getSystemVoiceInputVolume);
}

ANE_FUNCTION(getCurSystemVoiceInputState) {
  return askState("getCurSystemVoiceInputState", &ilive::iLive::getCurSystemVoiceInputState);
}

// ---- Skin grades ----

namespace {

// true when the SDK answers 0, false for another answer, null when it threw.
FREObject setGrade(uint32_t argc, FREObject argv[], int32_t (ilive::iLive::*set)(int32_t)) {
  const int32_t grade = core::Args(argc, argv).int32(0);
  return boolOrNull(core::ask([&] { return (GetILive()->*set)(grade) == 0; }));
}

}  // namespace

ANE_FUNCTION(setSkinSmoothGrade) {
  return setGrade(argc, argv, &ilive::iLive::setSkinSmoothGrade);
}

ANE_FUNCTION(setSkinWhitenessGrade) {
  return setGrade(argc, argv, &ilive::iLive::setSkinWhitenessGrade);
}

}  // namespace brisora
