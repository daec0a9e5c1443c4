// The eight functions that liteav.dll exports by name, as the extension calls
// them after looking them up with GetProcAddress.
#pragma once

#if defined(ANE_LITEAV_SDK_HEADER)
#include ANE_LITEAV_SDK_HEADER
#else
#include "trtc/sdk/tx_live.h"
#endif

#if defined(_WIN32)
#define LITEAV_CALL __cdecl
#else
#define LITEAV_CALL
#endif

extern "C" {
// Assumption: the one shared cloud instance, made on first call and the same
// until destroyTRTCShareInstance.
typedef ITRTCCloud*(LITEAV_CALL* GetTRTCShareInstanceFn)();
// Destroys the shared instance. A callback already under way may still finish
// after it returns, even once a new instance exists; the extension keeps every
// callback object it ever registered until the library is unloaded, so this
// needs no assumption.
typedef void(LITEAV_CALL* DestroyTRTCShareInstanceFn)();
typedef ITXLivePusher*(LITEAV_CALL* CreateTXLivePusherFn)();
// Assumption: takes the address of the caller's pointer, destroys the object
// and sets the pointer to null.
typedef void(LITEAV_CALL* DestroyTXLivePusherFn)(ITXLivePusher** pusher);
typedef ITXLivePlayer*(LITEAV_CALL* CreateTXLivePlayerFn)();
typedef void(LITEAV_CALL* DestroyTXLivePlayerFn)(ITXLivePlayer** player);
typedef ITXVodPlayer*(LITEAV_CALL* CreateTXVodPlayerFn)(const char* mediaFile, bool repeat);
typedef void(LITEAV_CALL* DestroyTXVodPlayerFn)(ITXVodPlayer** player);
}

// The export names, as GetProcAddress is given them.
#define LITEAV_GET_SHARE_INSTANCE "getTRTCShareInstance"
#define LITEAV_DESTROY_SHARE_INSTANCE "destroyTRTCShareInstance"
#define LITEAV_CREATE_PUSHER "createTXLivePusher"
#define LITEAV_DESTROY_PUSHER "destroyTXLivePusher"
#define LITEAV_CREATE_LIVE_PLAYER "createTXLivePlayer"
#define LITEAV_DESTROY_LIVE_PLAYER "destroyTXLivePlayer"
#define LITEAV_CREATE_VOD_PLAYER "createTXVodPlayer"
#define LITEAV_DESTROY_VOD_PLAYER "destroyTXVodPlayer"
