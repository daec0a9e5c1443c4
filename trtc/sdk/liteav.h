// Everything Tamvex needs of liteav.dll. Extension code includes only this.
// What lives in trtc/sdk/: trtc_cloud.h (the cloud instance, its collections,
// the callback interfaces), trtc_types.h (records and codes), tx_live.h (live
// pusher, live player, VOD player), liteav_exports.h (the eight exports
// looked up by name).
//
// A production build puts the vendor's declarations in their place: with
// ANE_LITEAV_SDK_DIR set (cmake/VendorSdks.cmake) the build defines
// ANE_LITEAV_SDK_HEADER as the header to include instead; liteav_exports.h
// (the signatures our loader gives the exports) stays ours. Statements about
// the SDK's behaviour that the vendor's documentation must confirm are marked
// "Assumption:" in these files.
#pragma once

#if defined(ANE_LITEAV_SDK_HEADER)
#include ANE_LITEAV_SDK_HEADER
#else
#include "trtc/sdk/trtc_cloud.h"
#include "trtc/sdk/trtc_types.h"
#include "trtc/sdk/tx_live.h"
#endif
#include "trtc/sdk/liteav_exports.h"
