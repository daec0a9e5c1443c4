// The stand-in's state, its call log and scripted answers, and the call-log
// text forms of its records.
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "state.h"

namespace liteav_standin {

State::State() { resetLocked(); }

// Never destroyed: its threads run until the process ends.
State& State::get() {
  static State* state = new State();
  return *state;
}

Worker& State::remoteFor(const std::string& userId, int streamType) {
  return remote[(std::hash<std::string>()(userId) + size_t(unsigned(streamType))) % 4];
}

void State::log(const std::string& line) {
  void (*listener)(void*) = nullptr;
  void* data = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex);
    calls.push_back(line);
    listener = callListener;
    data = callListenerData;
  }
  if (listener) listener(data);
}

AnswerPtr State::answer(const std::string& op) {
  AnswerPtr a;
  {
    std::lock_guard<std::mutex> lock(mutex);
    auto it = answers.find(op);
    if (it == answers.end()) return nullptr;
    a = it->second;
  }
  if (a->raise) throw std::runtime_error(a->message);
  return a;
}

int State::number(const std::string& kind) {
  std::lock_guard<std::mutex> lock(mutex);
  return ++objectCounts[kind];
}

void State::resetLocked() {
  {
    std::unique_lock<std::shared_mutex> lock(delivery);
    for (auto& [n, p] : pushers) orphans.push_back(p);
    for (auto& [n, p] : vodPlayers) orphans.push_back(p);
    for (auto& [n, p] : livePlayers) orphans.push_back(p);
    pushers.clear();
    vodPlayers.clear();
    departedPushers.clear();
    departedVodPlayers.clear();
    departedCloudCallbacks.clear();
    departedLocalRender = RenderRegistration{};
    departedRemoteRenders.clear();
    livePlayers.clear();
  }
  calls.clear();
  answers.clear();
  objectCounts.clear();
  sources.clear();
  Source screen;
  screen.type = TRTCScreenCaptureSourceTypeScreen;
  screen.id = 65537;
  screen.name = "Screen 1";
  Source notes;
  notes.type = TRTCScreenCaptureSourceTypeWindow;
  notes.id = 1180;
  notes.name = "Notes";
  sources = {screen, notes};
}

std::string paramsText(const TRTCParams& p) {
  return "{" + std::to_string(p.sdkAppId) + ", " + quote(p.userId) + ", " + quote(p.userSig) + ", " +
         std::to_string(p.roomId) + ", " + std::to_string(p.role) + ", " + quote(p.privateMapKey) + ", " +
         quote(p.businessInfo) + "}";
}

std::string encText(const TRTCVideoEncParam& p) {
  return "{" + std::to_string(p.videoResolution) + ", " + std::to_string(p.resMode) + ", " +
         std::to_string(p.videoFps) + ", " + std::to_string(p.videoBitrate) + "}";
}

std::string sizeText(const TXSize& s) { return "{" + std::to_string(s.cx) + ", " + std::to_string(s.cy) + "}"; }

std::string rectText(const TXRect& r) {
  return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + "}";
}

static std::string imageText(const TRTCImageBuffer& b) {
  return "{" + bytesText(b.buffer, b.length) + ", " + std::to_string(b.length) + ", " + std::to_string(b.width) +
         ", " + std::to_string(b.height) + "}";
}

std::string sourceText(const TRTCScreenCaptureSourceInfo& s) {
  return "{" + std::to_string(s.type) + ", " + std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(s.sourceId))) +
         ", " + quote(s.sourceName) + ", " + imageText(s.thumbBGRA) + ", " + imageText(s.iconBGRA) + "}";
}

}  // namespace liteav_standin
