// Everything Tamvex needs of liteav.dll. Extension code includes only this.
#pragma once

#include "trtc/sdk/liteav_exports.h"
#include "trtc/sdk/trtc_cloud.h"
#include "trtc/sdk/trtc_types.h"
#include "trtc/sdk/tx_live.h"
