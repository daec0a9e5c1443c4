// Loading liteav.dll from the LiteAV folder beside the host executable, its
// entry points, and releasing the cloud instance. Main thread only.
#include <cstdio>
#include <cwchar>
#include <exception>
#include <memory>
#include <vector>

#include "shlwapi.h"
#include "trtc/callbacks.h"
#include "trtc/manager.h"
#include "trtc/tamvex.h"
#include "windows.h"

namespace tamvex {
namespace {

SdkEntryPoints g_sdk;

// Callback objects of released instances: an SDK thread may still be on its
// way out of one of their operations after the instance was destroyed. They
// are freed once the next instance has been made (the SDK made it after the
// old one was destroyed, so no thread of the old one runs any more), or when
// the library is unloaded.
std::vector<std::unique_ptr<ANEITRTCCloudCallback>>& retiredCloudCallbacks() {
  static std::vector<std::unique_ptr<ANEITRTCCloudCallback>> list;
  return list;
}
std::vector<std::unique_ptr<ANEITRTCVideoRenderCallback>>& retiredRenderCallbacks() {
  static std::vector<std::unique_ptr<ANEITRTCVideoRenderCallback>> list;
  return list;
}

template <class Fn>
Fn lookUp(HMODULE module, const char* name) {
  // Through void(*)(): the one function-pointer cast that keeps no type of its own.
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// "\n" 载入 "liteav.dll" 失败 ": %d", in code page 936.
constexpr const char* kLoadFailed = "\n\xD4\xD8\xC8\xEB" "liteav.dll" "\xCA\xA7\xB0\xDC" ": %d";
// "\n" 载入函数 "%s" 失败, in code page 936.
constexpr const char* kLookUpFailed = "\n\xD4\xD8\xC8\xEB\xBA\xAF\xCA\xFD" "%s" "\xCA\xA7\xB0\xDC";
}  // namespace

const SdkEntryPoints& sdk() { return g_sdk; }

ITRTCCloud* loadTrtcCloud() {
  RtcManager& manager = RtcManager::instance();
  if (manager.cloud_) return manager.cloud_;

  // The host application's executable, not this library: liteav.dll lies in
  // the LiteAV folder beside it.
  WCHAR folder[MAX_PATH] = {0};
  const DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    std::printf("\n%s---%s", kPrefix, "executable path unavailable or too long");
    return nullptr;
  }
  PathRemoveFileSpecW(folder);
  static const WCHAR kSubFolder[] = L"\\LiteAV\\";
  const size_t used = std::wcslen(folder);
  const size_t extra = sizeof(kSubFolder) / sizeof(kSubFolder[0]);  // 8 characters and the zero
  if (used + extra > MAX_PATH) {
    std::printf("\n%s---%s", kPrefix, "LiteAV folder path too long");
    return nullptr;
  }
  std::wmemcpy(folder + used, kSubFolder, extra);
  std::printf("\n%s---%ls", kPrefix, folder);

  SetDllDirectoryW(folder);
  HMODULE library = LoadLibraryW(L"liteav.dll");
  if (!library) std::printf(kLoadFailed, static_cast<int>(GetLastError()));

  SdkEntryPoints found;
  if (library) {
    found.getTRTCShareInstance = lookUp<GetTRTCShareInstanceFn>(library, LITEAV_GET_SHARE_INSTANCE);
    found.destroyTRTCShareInstance = lookUp<DestroyTRTCShareInstanceFn>(library, LITEAV_DESTROY_SHARE_INSTANCE);
  }
  if (!found.getTRTCShareInstance) std::printf(kLookUpFailed, LITEAV_GET_SHARE_INSTANCE);
  if (!found.destroyTRTCShareInstance) std::printf(kLookUpFailed, LITEAV_DESTROY_SHARE_INSTANCE);
  g_sdk.getTRTCShareInstance = found.getTRTCShareInstance;
  g_sdk.destroyTRTCShareInstance = found.destroyTRTCShareInstance;

  ITRTCCloud* cloud = nullptr;
  if (g_sdk.getTRTCShareInstance) {
    try {
      cloud = g_sdk.getTRTCShareInstance();
    } catch (const std::exception&) {
      cloud = nullptr;
    }
  }

  if (library) {
    g_sdk.createTXLivePusher = lookUp<CreateTXLivePusherFn>(library, LITEAV_CREATE_PUSHER);
    g_sdk.destroyTXLivePusher = lookUp<DestroyTXLivePusherFn>(library, LITEAV_DESTROY_PUSHER);
    g_sdk.createTXLivePlayer = lookUp<CreateTXLivePlayerFn>(library, LITEAV_CREATE_LIVE_PLAYER);
    g_sdk.destroyTXLivePlayer = lookUp<DestroyTXLivePlayerFn>(library, LITEAV_DESTROY_LIVE_PLAYER);
    g_sdk.createTXVodPlayer = lookUp<CreateTXVodPlayerFn>(library, LITEAV_CREATE_VOD_PLAYER);
    g_sdk.destroyTXVodPlayer = lookUp<DestroyTXVodPlayerFn>(library, LITEAV_DESTROY_VOD_PLAYER);
  } else {
    g_sdk = SdkEntryPoints{};
  }
  SetDllDirectoryW(nullptr);
  if (!cloud) return nullptr;  // nothing to call through; the next call tries again

  std::printf("\n%s --- LoadLibrary liteav.dll complate", kPrefix);
  retiredCloudCallbacks().clear();
  retiredRenderCallbacks().clear();
  manager.cloudCallback_ = new ANEITRTCCloudCallback(&manager);
  manager.renderCallback_ = new ANEITRTCVideoRenderCallback(&manager);
  manager.cloud_ = cloud;
  try {
    cloud->addCallback(manager.cloudCallback_);
  } catch (const std::exception&) {
  }
  return cloud;
}

void releaseCloud() {
  RtcManager& manager = RtcManager::instance();
  if (manager.cloud_) {
    releaseScreenList();
    try {
      loadTrtcCloud()->removeCallback(manager.cloudCallback_);
    } catch (const std::exception&) {
    }
    if (g_sdk.destroyTRTCShareInstance) {
      try {
        g_sdk.destroyTRTCShareInstance();
      } catch (const std::exception&) {
      }
    }
  }
  if (manager.cloudCallback_) retiredCloudCallbacks().emplace_back(manager.cloudCallback_);
  if (manager.renderCallback_) retiredRenderCallbacks().emplace_back(manager.renderCallback_);
  manager.cloudCallback_ = nullptr;
  manager.renderCallback_ = nullptr;
  manager.cloud_ = nullptr;
}

}  // namespace tamvex
