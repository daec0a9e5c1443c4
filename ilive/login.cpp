// Start-up and login: the trace switch, SDK start-up, log path, version,
// channel mode, login and logout with their completion handlers.
#include <cstdio>
#include <exception>

#include "core/args.h"
#include "core/context.h"
#include "core/edge.h"
#include "core/results.h"
#include "ilive/brisora.h"
#include "ilive/functions.h"
#include "ilive/live_manager.h"

namespace brisora {

std::atomic<int32_t> debugMode{0};

namespace {

// Raises an outcome event from an SDK thread; nothing escapes to the SDK.
void outcome(const char* line, const std::string& code, bool success) {
  core::inHandler([&] {
    std::printf("\n%s", line);
    LiveManager& m = LiveManager::instance();
    core::dispatchStatus(m.context.get(), code, success ? m.complete : m.error);
  });
}

void onLoginSuccess(void*) { outcome("OniLiveLoginSuccess", LiveManager::instance().ilivelogin, true); }
void onLoginError(int32_t, const ilive::SdkString&, void*) {
  outcome("OniLiveLoginError", LiveManager::instance().ilivelogin, false);
}
void onLogoutSuccess(void*) { outcome("OniLiveLoginOutSuccess", LiveManager::instance().iliveloginout, true); }
void onLogoutError(int32_t, const ilive::SdkString&, void*) {
  outcome("OniLiveLoginOutError", LiveManager::instance().iliveloginout, false);
}

void setVideoColorFormat(ilive::iLive* live) {
  ilive::iLiveRootView* view = ::iLiveCreateRootView();
  if (!view) {
    // No view to ask: the packed 24-bit format, as without the probe.
    live->setVideoColorFormat(ilive::COLOR_FORMAT_RGB24);
    if (tracing()) std::printf("\n%s%s,%s", kPrefix, "VideoColorFormat", "COLOR_FORMAT_RGB24");
    return;
  }
  const int32_t type = view->getViewType();
  if (tracing())
    std::printf("\n%s%s,%s", kPrefix, "VideoColorFormat",
                type == ilive::ROOT_VIEW_TYPE_D3D ? "ROOT_VIEW_TYPE_D3D" : "COLOR_FORMAT_RGB24");
  // The view is asked again for the format it renders into.
  live->setVideoColorFormat(view->getViewType() == ilive::ROOT_VIEW_TYPE_D3D ? ilive::COLOR_FORMAT_I420
                                                                                : ilive::COLOR_FORMAT_RGB24);
  view->destroy();
}

FREObject login(FREContext ctx, uint32_t argc, FREObject argv[], bool withSpear) {
  core::Args args(argc, argv);
  const std::string userId = args.string(0);
  const std::string sig = args.string(1);
  const int32_t count = args.int32(2);
  LiveManager::instance().prepareRendererPool(userId, count, ctx);
  const std::string extra = args.string(3);
  if (tracing()) std::printf("\n%s%s,%s,%s", kPrefix, "iLiveLogin", userId.c_str(), sig.c_str());
  ilive::iLive* live = ::GetILive();
  if (withSpear)
    live->loginWithSpear(userId.c_str(), sig.c_str(), extra.c_str(), onLoginSuccess, onLoginError, ctx);
  else
    live->login(userId.c_str(), sig.c_str(), onLoginSuccess, onLoginError, ctx, extra.c_str());
  return core::newBool(true);
}

}  // namespace

BRISORA_FUNCTION(initRtmpLiveSdk) {
  (void)functionData;
  (void)ctx;
  core::Args args(argc, argv);
  bool on = false;
  // A failed conversion leaves the switch as it was.
  if (args.tryBoolean(0, &on)) debugMode.store(on ? 1 : 0, std::memory_order_relaxed);
  std::printf("\n%s%s - %s", kPrefix, "initRtmpLiveSdk Mode:", tracing() ? "debug" : "release");
  return core::newBool(true);
}

BRISORA_FUNCTION(initILiveSdk) {
  (void)functionData;
  core::Args args(argc, argv);
  const int32_t appId = args.int32(0);
  const int32_t second = args.int32(1);
  const int32_t probeRootView = args.int32(3);
  if (tracing()) std::printf("\n%s%s,%d,%d", kPrefix, "initILiveSdk", appId, second);
  ilive::iLive* live = ::GetILive();
  live->setForceOfflineHandler(emptyHandler, ctx);
  live->setNetworkNoticeHandler(emptyHandler);
  live->setRemoteVideoHandler(onRemoteVideo, ctx);
  if (probeRootView == 1) {
    setVideoColorFormat(live);
  } else {
    live->setVideoColorFormat(ilive::COLOR_FORMAT_RGB24);
    if (tracing()) std::printf("\n%s%s,%s", kPrefix, "VideoColorFormat", "COLOR_FORMAT_RGB24");
  }
  try {
    if (live->init(appId, 1, 0) != 0) return core::newBool(false);
    if (tracing()) {
      const ilive::SdkString version = live->getVersion();
      std::printf("\n%s%s,%s", kPrefix, "initILiveSdk Version:", version.c_str());
    }
    return core::newBool(true);
  } catch (const std::exception&) {
    return core::newBool(false);
  }
}

BRISORA_FUNCTION(setLogPath) {
  (void)ctx;
  (void)functionData;
  core::Args args(argc, argv);
  const std::string path = args.string(0);
  const ilive::SdkString sdkPath(path.data(), path.size());
  return core::newBool(::GetILive()->setLogPath(sdkPath));
}

BRISORA_FUNCTION(getSdkVersion) {
  (void)ctx;
  (void)functionData;
  (void)argc;
  (void)argv;
  const ilive::SdkString version = ::GetILive()->getVersion();
  return core::newString(std::string(version.c_str(), version.size()));
}

BRISORA_FUNCTION(setChannelMode) {
  (void)ctx;
  (void)functionData;
  core::Args args(argc, argv);
  const uint32_t mode = args.uint32(0);
  const std::string text = args.string(1);
  if (tracing()) std::printf("\n%s%s", kPrefix, "setChannelMode");
  const ilive::SdkString sdkText(text.data(), text.size());
  ::GetILive()->setChannelMode(mode != 0, sdkText);
  return core::newBool(true);
}

BRISORA_FUNCTION(iLiveLogin) {
  (void)functionData;
  return login(ctx, argc, argv, false);
}

BRISORA_FUNCTION(iLiveLoginWithSpear) {
  (void)functionData;
  return login(ctx, argc, argv, true);
}

BRISORA_FUNCTION(iLiveLoginOut) {
  (void)functionData;
  (void)argc;
  (void)argv;
  ::GetILive()->logout(onLogoutSuccess, onLogoutError, ctx);
  return nullptr;
}

BRISORA_FUNCTION(isLogin) {
  (void)ctx;
  (void)functionData;
  (void)argc;
  (void)argv;
  try {
    return core::newBool(::GetILive()->isLogin());
  } catch (const std::exception&) {
    return core::newBool(false);
  }
}

BRISORA_FUNCTION(isInited) {
  (void)ctx;
  (void)functionData;
  (void)argc;
  (void)argv;
  try {
    return core::newBool(::GetILive()->isInited());
  } catch (const std::exception&) {
    return core::newBool(false);
  }
}

}  // namespace brisora
