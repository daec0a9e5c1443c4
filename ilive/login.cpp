// Start-up and login: the trace switch, SDK start-up, log path, version,
// channel mode, login and logout with their completion handlers.
#include <cstdio>
#include <optional>
#include <string>

#include "core/args.h"
#include "core/context.h"
#include "core/edge.h"
#include "core/results.h"
#include "core/sdk.h"
#include "ilive/brisora.h"
#include "ilive/codes.h"
#include "ilive/functions.h"
#include "ilive/manager.h"
#include "ilive/sdk_call.h"

namespace brisora {

namespace {

// Raises an outcome event from an SDK thread; nothing escapes to the SDK.
void outcome(const char* line, const std::string& code, bool success) {
  core::inHandler([&] {
    std::printf("\n%s", line);
    LiveManager& m = LiveManager::instance();
    m.context.raise(code, success ? m.complete : m.error);
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

// A root view for one probe: released on every path, also when the SDK
// throws while it is asked or while the format is set.
using RootView = core::SdkObject<ilive::iLiveRootView, &ilive::iLiveRootView::destroy>;

void setVideoColorFormat(ilive::iLive* live) {
  const RootView view(::iLiveCreateRootView());
  if (!view) {
    // No view to ask: the packed 24-bit format, as without the probe.
    live->setVideoColorFormat(ilive::COLOR_FORMAT_RGB24);
    debugMode.print("\n%s%s,%s", kPrefix, "VideoColorFormat", "COLOR_FORMAT_RGB24");
    return;
  }
  const int32_t type = view->getViewType();
  if (debugMode.on())
    std::printf("\n%s%s,%s", kPrefix, "VideoColorFormat",
                type == ilive::ROOT_VIEW_TYPE_D3D ? "ROOT_VIEW_TYPE_D3D" : "COLOR_FORMAT_RGB24");
  // The view is asked again for the format it renders into.
  live->setVideoColorFormat(view->getViewType() == ilive::ROOT_VIEW_TYPE_D3D ? ilive::COLOR_FORMAT_I420
                                                                                : ilive::COLOR_FORMAT_RGB24);
}

FREObject login(FREContext ctx, uint32_t argc, FREObject argv[], bool withSpear) {
  core::Args args(argc, argv);
  const std::string userId = args.string(0);
  const std::string sig = args.string(1);
  const int32_t count = args.int32(2);
  LiveManager::instance().prepareRendererPool(userId, count, ctx);
  const std::string extra = args.string(3);
  debugMode.print("\n%s%s,%s,%s", kPrefix, "iLiveLogin", userId.c_str(), sig.c_str());
  return trueOrNull(core::ask([&] {
    ilive::iLive* live = ::GetILive();
    if (withSpear)
      live->loginWithSpear(userId.c_str(), sig.c_str(), extra.c_str(), onLoginSuccess, onLoginError, ctx);
    else
      live->login(userId.c_str(), sig.c_str(), onLoginSuccess, onLoginError, ctx, extra.c_str());
  }));
}

// The handlers of a session and the colour format its frames come in.
void prepareSdk(ilive::iLive* live, FREContext ctx, int32_t probeRootView) {
  live->setForceOfflineHandler(emptyHandler, ctx);
  live->setNetworkNoticeHandler(emptyHandler);
  live->setRemoteVideoHandler(onRemoteVideo, ctx);
  if (probeRootView == kProbeRootView) {
    setVideoColorFormat(live);
  } else {
    live->setVideoColorFormat(ilive::COLOR_FORMAT_RGB24);
    debugMode.print("\n%s%s,%s", kPrefix, "VideoColorFormat", "COLOR_FORMAT_RGB24");
  }
}

}  // namespace

ANE_FUNCTION(initRtmpLiveSdk) {
  debugMode.setFrom(core::Args(argc, argv), 0);
  std::printf("\n%s%s - %s", kPrefix, "initRtmpLiveSdk Mode:", debugMode.on() ? "debug" : "release");
  return core::newBool(true);
}

ANE_FUNCTION(initILiveSdk) {
  core::Args args(argc, argv);
  const int32_t appId = args.int32(0);
  const int32_t second = args.int32(1);
  const int32_t probeRootView = args.int32(3);
  debugMode.print("\n%s%s,%d,%d", kPrefix, "initILiveSdk", appId, second);
  ilive::iLive* live = ::GetILive();
  // A throw while preparing ends the call without a value; one while starting answers false.
  if (!core::ask([&] { prepareSdk(live, ctx, probeRootView); })) return nullptr;
  const std::optional<bool> started = core::ask([&] {
    if (live->init(appId, 1, 0) != 0) return false;
    if (debugMode.on()) {
      const ilive::SdkString version = live->getVersion();
      std::printf("\n%s%s,%s", kPrefix, "initILiveSdk Version:", version.c_str());
    }
    return true;
  });
  return core::newBool(started.value_or(false));
}

ANE_FUNCTION(setLogPath) {
  core::Args args(argc, argv);
  const std::string path = args.string(0);
  const ilive::SdkString sdkPath(path.data(), path.size());
  return boolOrNull(core::ask([&] { return ::GetILive()->setLogPath(sdkPath); }));
}

// The version text, all its bytes; null when the SDK throws.
ANE_FUNCTION(getSdkVersion) {
  const std::optional<std::string> version = core::ask([] {
    const ilive::SdkString text = ::GetILive()->getVersion();
    return std::string(text.c_str(), text.size());
  });
  return version ? core::newString(*version) : nullptr;
}

ANE_FUNCTION(setChannelMode) {
  core::Args args(argc, argv);
  const uint32_t mode = args.uint32(0);
  const std::string text = args.string(1);
  debugMode.print("\n%s%s", kPrefix, "setChannelMode");
  return trueOrNull(core::ask([&] { ::GetILive()->setChannelMode(mode != 0, toSdkString(text)); }));
}

ANE_FUNCTION(iLiveLogin) {
  return login(ctx, argc, argv, false);
}

ANE_FUNCTION(iLiveLoginWithSpear) {
  return login(ctx, argc, argv, true);
}

ANE_FUNCTION(iLiveLoginOut) {
  core::ask([&] { ::GetILive()->logout(onLogoutSuccess, onLogoutError, ctx); });
  return nullptr;
}

ANE_FUNCTION(isLogin) {
  return core::newBool(core::ask([] { return ::GetILive()->isLogin(); }).value_or(false));
}

ANE_FUNCTION(isInited) {
  return core::newBool(core::ask([] { return ::GetILive()->isInited(); }).value_or(false));
}

}  // namespace brisora
