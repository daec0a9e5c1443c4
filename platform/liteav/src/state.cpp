// The stand-in's state, the call-log text forms of its records and the test
// picture.
#include <libyuv.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "standin.h"

namespace liteav_standin {

State::State() { resetLocked(); }

// Never destroyed: its threads run until the process ends.
State& State::get() {
  static State* state = new State();
  return *state;
}

Worker& State::remoteFor(const std::string& userId) {
  return (std::hash<std::string>()(userId) & 1) ? remoteB : remoteA;
}

void State::log(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex);
  calls.push_back(line);
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

}  // namespace liteav_standin
