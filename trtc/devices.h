// Device-name lists shared by the cloud's device functions and the pusher's
// microphone list.
#pragma once

#include <string>

#include "trtc/sdk/liteav.h"

namespace tamvex {

struct DeviceNames {
  std::string utf8;     // for ActionScript: names joined by "||", valid UTF-8
  std::string console;  // the same list in code page 936, for the console (made while tracing only)
};

// The names of a collection in its order, joined by "||". The count is asked
// before each entry and read as signed; a missing name ends the list.
DeviceNames deviceNames(ITRTCDeviceCollection& collection);

}  // namespace tamvex
