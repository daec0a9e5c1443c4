// The stand-in's SDK objects, shared by their files: the cloud instance
// (cloud.cpp), device collections, current devices and the screen source list
// (devices.cpp), pushers and players (players.cpp). Every operation writes
// one line to the call log, then answers as scripted.
#pragma once

#include <string>
#include <vector>

#include "state.h"

namespace liteav_standin {

inline std::string str(int64_t v) { return std::to_string(v); }

// Logs "name(args)" and returns the scripted answer (or null); throws when told to.
inline AnswerPtr called(const std::string& name, const std::string& answerKey, const std::string& args) {
  State& s = State::get();
  s.log(name + "(" + args + ")");
  return s.answer(answerKey);
}
inline AnswerPtr called(const std::string& name, const std::string& args = "") { return called(name, name, args); }

inline int codeOr(const AnswerPtr& a, int fallback) { return a && a->hasCode ? static_cast<int>(a->code) : fallback; }

struct DeviceKind {
  const char* listOp;     // e.g. getCameraDevicesList
  const char* currentOp;  // e.g. getCurrentCameraDevice
  const char* listName;   // e.g. CameraList
  const char* currentName;
  const char* idPrefix;
  const char* defaultName;
};
extern const DeviceKind kCameras, kMics, kSpeakers;

// A device collection named <listName><N>, as scripted for answerKey.
ITRTCDeviceCollection* makeCollection(const std::string& logName, const std::string& answerKey, const char* listName,
                                      const DeviceKind& kind);
// The current device of a kind, named <currentName><N>.
ITRTCDeviceInfo* makeCurrent(const DeviceKind& kind);
// The screen sources with their pictures, named e.g. SourceList1.
ITRTCScreenCaptureSourceList* newSourceList(std::string name, std::vector<Source> sources, TXSize thumb, TXSize icon);

}  // namespace liteav_standin
