// The cloud callback: console lines for room notifications, status events for
// what ActionScript needs, and the renderer bindings that follow remote
// users' video and presence. Runs on the SDK's callback thread. Once retired
// (its instance let go of) it only writes its console lines.
#include <cinttypes>
#include <cstdio>

#include "core/context.h"
#include "core/edge.h"
#include "core/text.h"
#include "trtc/callbacks.h"
#include "trtc/video_codes.h"
#include "trtc/sdk_call.h"

namespace tamvex {

namespace {
// The code-page-936 form of an SDK's UTF-8 text, for the console.
std::string consoleText(const char* utf8) { return core::utf8ToLocal(utf8); }
}  // namespace

void ANEITRTCCloudCallback::raise(RtcManager::Event event, const std::string& level) {
  manager_->context.raise(manager_->eventName(event), level);
}

void ANEITRTCCloudCallback::onError(int errCode, const char* errMsg, void*) {
  core::inHandler([&] {
    std::printf("\n  onError  errCode=%i --- errMsg=%s", errCode, consoleText(errMsg).c_str());
  });
}

void ANEITRTCCloudCallback::onWarning(int warningCode, const char* warningMsg, void*) {
  core::inHandler([&] {
    std::printf("\n  onError  warningCode=%i --- errMsg=%s", warningCode, consoleText(warningMsg).c_str());
  });
}

void ANEITRTCCloudCallback::onEnterRoom(int64_t elapsed) {
  core::inHandler([&] {
    std::printf("\n  onEnterRoom  = %" PRId64 " ms ", elapsed);
    Retirement::Pass pass(retirement_);
    if (pass) raise(RtcManager::kEnterRoom, manager_->eventName(RtcManager::kComplete));
  });
}

// Out of the room no remote stream comes any more: every remote renderer is
// unbound and its frames freed; the local preview stays.
void ANEITRTCCloudCallback::onExitRoom(int reason) {
  core::inHandler([&] {
    std::printf("\n  onExitRoom  = %i", reason);
    Retirement::Pass pass(retirement_);
    if (!pass) return;
    releaseRemoteRenderers(*manager_, nullptr);
    raise(RtcManager::kExitRoom, manager_->eventName(RtcManager::kComplete));
  });
}

void ANEITRTCCloudCallback::onUserEnter(const char* userId) {
  core::inHandler([&] {
    std::printf("\n  onUserEnter  = %s --- ", consoleText(userId).c_str());
  });
}

// A user who left sends nothing more: each of their renderers (camera, small
// stream, sub stream, any other) is unbound and its frames freed.
void ANEITRTCCloudCallback::onUserExit(const char* userId, int reason) {
  core::inHandler([&] {
    std::printf("\n  onUserExit  = %s --- %i", consoleText(userId).c_str(), reason);
    Retirement::Pass pass(retirement_);
    if (!pass) return;
    const std::string id = fromSdkText(userId);
    releaseRemoteRenderers(*manager_, &id);
  });
}

void releaseRemoteRenderers(RtcManager& manager, const std::string* userId) {
  std::lock_guard<std::mutex> lock(manager.pool.mutex());
  for (const core::RendererPtr& renderer : manager.pool.renderersLocked()) {
    if (renderer->free || renderer == manager.localBig || renderer == manager.localSub) continue;
    if (userId && renderer->userId != *userId) continue;
    renderer->release();
  }
}

// The renderer is bound and the event reported with the id as the SDK gave
// it, since frames arrive with that same id; the console shows the
// code-page-936 form.
void ANEITRTCCloudCallback::availability(const char* userId, bool available, const char* kind, const char* line,
                                         int32_t code) {
  const std::string id = fromSdkText(userId);
  const char* flag = available ? "1" : "0";
  std::string text;
  core::LevelBuilder(text).field(kind).field(consoleText(userId)).field(flag);
  std::printf(line, text.c_str());
  Retirement::Pass pass(retirement_);
  if (!pass) return;
  if (code != kNoStream) {
    if (available) {
      addVideoRender(*manager_, code, id);
    } else {
      core::RendererPtr found;
      std::string boundId;
      int32_t boundCode = 0;
      {
        std::lock_guard<std::mutex> lock(manager_->pool.mutex());
        found = manager_->pool.findLocked(id, code);
        if (found) {
          boundId = found->userId;
          boundCode = found->kind;
          found->release();  // unbound: its frames are freed, its context stays
        }
      }
      if (found) std::printf("\n ANEVideoRander Remove: %s == %i", consoleText(boundId.c_str()).c_str(), boundCode);
    }
  }
  core::LevelBuilder(text).field(kind).field(core::validUtf8(id)).field(flag);
  raise(RtcManager::kMediaAvailable, text);
}

void ANEITRTCCloudCallback::onUserVideoAvailable(const char* userId, bool available) {
  core::inHandler([&] {
    availability(userId, available, "video", "\n  onUserVideoAvailable  =%s", kBigStream);
  });
}

void ANEITRTCCloudCallback::onUserSubStreamAvailable(const char* userId, bool available) {
  core::inHandler([&] {
    availability(userId, available, "stream", "\n  onUserSubStreamAvailable  =%s", kSubStream);
  });
}

void ANEITRTCCloudCallback::onUserAudioAvailable(const char* userId, bool available) {
  core::inHandler([&] {
    availability(userId, available, "audio", "\n  onUserAudioAvailable  =%s", kNoStream);
  });
}

void ANEITRTCCloudCallback::onUserVoiceVolume(TRTCVolumeInfo* userVolumes, uint32_t userVolumesCount, uint32_t) {
  core::inHandler([&] {
    const int32_t count = static_cast<int32_t>(userVolumesCount);
    if (count <= 0 || !userVolumes) return;
    Retirement::Pass pass(retirement_);
    if (!pass) return;
    const std::string localId = core::validUtf8(manager_->localUser.get());
    std::string level;
    for (int32_t i = 0; i < count; ++i) {
      const std::string id = fromSdkText(userVolumes[i].userId);
      core::LevelBuilder(level)
          .field("rtc")
          .field(id.empty() ? localId : core::validUtf8(id))
          .number(static_cast<int32_t>(userVolumes[i].volume));
      raise(RtcManager::kAudioEvent, level);
    }
  });
}

void ANEITRTCCloudCallback::onSpeedTest(const TRTCSpeedTestResult& result, uint32_t finishedCount,
                                        uint32_t totalCount) {
  core::inHandler([&] {
    Retirement::Pass pass(retirement_);
    if (!pass) return;
    std::string level;
    core::LevelBuilder(level)
        .number(static_cast<int32_t>(finishedCount))
        .number(static_cast<int32_t>(totalCount))
        .field(core::validUtf8(fromSdkText(result.ip)))
        .number(static_cast<int32_t>(result.rtt));
    raise(RtcManager::kSpeedTestEvent, level);
  });
}

}  // namespace tamvex
