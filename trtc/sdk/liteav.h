// Everything Tamvex needs of liteav.dll. Extension code includes only this;
// a production build puts the vendor's declarations in its place. What lives
// in trtc/sdk/: trtc_cloud.h (the cloud instance, its collections, the
// callback interfaces), trtc_types.h (records and codes), tx_live.h (live
// pusher, live player, VOD player), liteav_exports.h (the eight exports
// looked up by name).
#pragma once

#include "trtc/sdk/liteav_exports.h"
#include "trtc/sdk/trtc_cloud.h"
#include "trtc/sdk/trtc_types.h"
#include "trtc/sdk/tx_live.h"
