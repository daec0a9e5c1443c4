// Loading liteav.dll from the LiteAV folder beside the host executable, its
// entry points, and releasing the cloud instance. Main thread only.
#include <cstdio>
#include <cwchar>
#include <memory>
#include <utility>
#include <vector>

#include "core/sdk.h"
#include "shlwapi.h"
#include "trtc/callbacks.h"
#include "trtc/manager.h"
#include "trtc/tamvex.h"
#include "windows.h"

namespace tamvex {
namespace {

SdkEntryPoints g_sdk;

// Callback objects of released instances, kept while the library is loaded
// (as the pushers' and VOD players' are): an SDK thread may still call one
// after its instance was destroyed, even after a new instance was made. They
// are retired, so they change nothing. Freed when the library is unloaded,
// after which its code is gone too.
std::vector<std::unique_ptr<ANEITRTCCloudCallback>>& retiredCloudCallbacks() {
  static std::vector<std::unique_ptr<ANEITRTCCloudCallback>> list;
  return list;
}
std::vector<std::unique_ptr<ANEITRTCVideoRenderCallback>>& retiredRenderCallbacks() {
  static std::vector<std::unique_ptr<ANEITRTCVideoRenderCallback>> list;
  return list;
}

// The callback objects of an instance whose destruction failed: it lives on
// and holds them (the render callbacks stay registered with it). The next
// load takes them up again when it gets that instance back, rather than
// register a second set. Main thread only.
struct Survivor {
  ITRTCCloud* cloud = nullptr;
  ANEITRTCCloudCallback* cloudCallback = nullptr;
  ANEITRTCVideoRenderCallback* localRender = nullptr;
  ANEITRTCVideoRenderCallback* remoteRender = nullptr;
  bool callbackRemoved = false;  // removeCallback went through
};
Survivor g_survivor;

void retire(ANEITRTCCloudCallback* cloudCallback, ANEITRTCVideoRenderCallback* localRender,
            ANEITRTCVideoRenderCallback* remoteRender) {
  if (cloudCallback) {
    cloudCallback->retire();
    retiredCloudCallbacks().emplace_back(cloudCallback);
  }
  for (ANEITRTCVideoRenderCallback* render : {localRender, remoteRender}) {
    if (!render) continue;
    render->retire();
    retiredRenderCallbacks().emplace_back(render);
  }
}

// The folder SetDllDirectoryW last set in this process (by the host or
// another library), read before the LiteAV folder replaces it; empty when
// none is set.
std::vector<WCHAR> currentDllDirectory() {
  std::vector<WCHAR> folder(MAX_PATH);
  for (int attempt = 0; attempt < 4; ++attempt) {
    const DWORD n = GetDllDirectoryW(static_cast<DWORD>(folder.size()), folder.data());
    if (n < folder.size()) {
      folder.resize(n);  // 0: none set
      return folder;
    }
    folder.resize(n);  // the size it needs, with its zero
  }
  return std::vector<WCHAR>();
}

// Gives back the folder that was set before (none: SetDllDirectoryW(NULL)).
void restoreDllDirectory(std::vector<WCHAR> folder) {
  if (folder.empty()) {
    SetDllDirectoryW(nullptr);
  } else {
    folder.push_back(0);
    SetDllDirectoryW(folder.data());
  }
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

// The LiteAV folder beside the host application's executable (not this
// library), with its final backslash, printed; false (with a line saying
// why) when the path does not fit.
bool findLiteAvFolder(WCHAR (&folder)[MAX_PATH]) {
  const DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    std::printf("\n%s---%s", kPrefix, "executable path unavailable or too long");
    return false;
  }
  PathRemoveFileSpecW(folder);
  static const WCHAR kSubFolder[] = L"\\LiteAV\\";
  const size_t used = std::wcslen(folder);
  const size_t extra = sizeof(kSubFolder) / sizeof(kSubFolder[0]);  // 8 characters and the zero
  if (used + extra > MAX_PATH) {
    std::printf("\n%s---%s", kPrefix, "LiteAV folder path too long");
    return false;
  }
  std::wmemcpy(folder + used, kSubFolder, extra);
  std::printf("\n%s---%ls", kPrefix, folder);
  return true;
}

// The two entry points of the shared instance; each one missing is printed.
// Null library: both missing.
void lookUpInstanceEntryPoints(HMODULE library) {
  SdkEntryPoints found;
  if (library) {
    found.getTRTCShareInstance = lookUp<GetTRTCShareInstanceFn>(library, LITEAV_GET_SHARE_INSTANCE);
    found.destroyTRTCShareInstance = lookUp<DestroyTRTCShareInstanceFn>(library, LITEAV_DESTROY_SHARE_INSTANCE);
  }
  if (!found.getTRTCShareInstance) std::printf(kLookUpFailed, LITEAV_GET_SHARE_INSTANCE);
  if (!found.destroyTRTCShareInstance) std::printf(kLookUpFailed, LITEAV_DESTROY_SHARE_INSTANCE);
  g_sdk.getTRTCShareInstance = found.getTRTCShareInstance;
  g_sdk.destroyTRTCShareInstance = found.destroyTRTCShareInstance;
}

// The shared instance; null when its entry point is missing, gives none or throws.
ITRTCCloud* newInstance() {
  if (!g_sdk.getTRTCShareInstance) return nullptr;
  return core::ask([] { return g_sdk.getTRTCShareInstance(); }).value_or(nullptr);
}

// The pushers' and players' entry points (not printed when missing); without
// a library every entry point is cleared.
void lookUpPlayerEntryPoints(HMODULE library) {
  if (!library) {
    g_sdk = SdkEntryPoints{};
    return;
  }
  g_sdk.createTXLivePusher = lookUp<CreateTXLivePusherFn>(library, LITEAV_CREATE_PUSHER);
  g_sdk.destroyTXLivePusher = lookUp<DestroyTXLivePusherFn>(library, LITEAV_DESTROY_PUSHER);
  g_sdk.createTXLivePlayer = lookUp<CreateTXLivePlayerFn>(library, LITEAV_CREATE_LIVE_PLAYER);
  g_sdk.destroyTXLivePlayer = lookUp<DestroyTXLivePlayerFn>(library, LITEAV_DESTROY_LIVE_PLAYER);
  g_sdk.createTXVodPlayer = lookUp<CreateTXVodPlayerFn>(library, LITEAV_CREATE_VOD_PLAYER);
  g_sdk.destroyTXVodPlayer = lookUp<DestroyTXVodPlayerFn>(library, LITEAV_DESTROY_VOD_PLAYER);
}

// Loads liteav.dll from the folder and makes the shared instance, with the
// folder as the DLL directory meanwhile (the library's own DLLs lie there);
// the host's DLL directory is given back afterwards. Null when no instance.
ITRTCCloud* openLibrary(const WCHAR* folder) {
  std::vector<WCHAR> hostDllDirectory = currentDllDirectory();
  SetDllDirectoryW(folder);
  HMODULE library = LoadLibraryW(L"liteav.dll");
  if (!library) std::printf(kLoadFailed, static_cast<int>(GetLastError()));
  lookUpInstanceEntryPoints(library);
  ITRTCCloud* cloud = newInstance();
  lookUpPlayerEntryPoints(library);
  restoreDllDirectory(std::move(hostDllDirectory));
  return cloud;
}

// The callback objects for a new instance, and whether the cloud callback is
// still to be added to it.
struct InstanceCallbacks {
  ANEITRTCCloudCallback* cloudCallback = nullptr;
  ANEITRTCVideoRenderCallback* localRender = nullptr;
  ANEITRTCVideoRenderCallback* remoteRender = nullptr;
  bool addCloudCallback = true;
};

// The instance that outlived its destruction keeps the callbacks it still
// holds; any other instance gets new ones, and the survivor's are retired.
InstanceCallbacks callbacksFor(ITRTCCloud* cloud, RtcManager* manager) {
  const Survivor survivor = std::exchange(g_survivor, Survivor{});
  if (survivor.cloud == cloud)
    return InstanceCallbacks{survivor.cloudCallback, survivor.localRender, survivor.remoteRender,
                             survivor.callbackRemoved};
  retire(survivor.cloudCallback, survivor.localRender, survivor.remoteRender);
  InstanceCallbacks made;
  made.cloudCallback = new ANEITRTCCloudCallback(manager);
  made.localRender = new ANEITRTCVideoRenderCallback(manager, ANEITRTCVideoRenderCallback::Registration::Local);
  made.remoteRender = new ANEITRTCVideoRenderCallback(manager, ANEITRTCVideoRenderCallback::Registration::Remote);
  return made;
}

}  // namespace

const SdkEntryPoints& sdk() { return g_sdk; }

ITRTCCloud* loadTrtcCloud() {
  RtcManager& manager = RtcManager::instance();
  if (manager.cloud_) return manager.cloud_;
  WCHAR folder[MAX_PATH] = {0};
  if (!findLiteAvFolder(folder)) return nullptr;
  ITRTCCloud* cloud = openLibrary(folder);
  if (!cloud) return nullptr;  // nothing to call through; the next call tries again

  std::printf("\n%s --- LoadLibrary liteav.dll complate", kPrefix);
  const InstanceCallbacks callbacks = callbacksFor(cloud, &manager);
  manager.cloudCallback_ = callbacks.cloudCallback;
  manager.localRenderCallback_ = callbacks.localRender;
  manager.remoteRenderCallback_ = callbacks.remoteRender;
  manager.cloud_ = cloud;
  if (callbacks.addCloudCallback) core::ask([&] { cloud->addCallback(manager.cloudCallback_); });
  return cloud;
}

// The callbacks are taken back and the instance destroyed; its callback
// objects are retired and kept, since an SDK thread may still be on its way
// into one. When the destruction fails the instance lives on with them: they
// stay as they are for the next load (g_survivor).
void releaseCloud() {
  RtcManager& manager = RtcManager::instance();
  bool destroyed = true;
  bool removed = false;
  if (manager.cloud_) {
    releaseScreenList();
    removed = core::ask([&] { manager.cloud_->removeCallback(manager.cloudCallback_); });
    destroyed = g_sdk.destroyTRTCShareInstance && core::ask([] { g_sdk.destroyTRTCShareInstance(); });
  }
  if (destroyed) {
    retire(manager.cloudCallback_, manager.localRenderCallback_, manager.remoteRenderCallback_);
  } else {
    g_survivor = Survivor{manager.cloud_, manager.cloudCallback_, manager.localRenderCallback_,
                          manager.remoteRenderCallback_, removed};
  }
  manager.cloudCallback_ = nullptr;
  manager.localRenderCallback_ = nullptr;
  manager.remoteRenderCallback_ = nullptr;
  manager.cloud_ = nullptr;
}

}  // namespace tamvex
