#pragma once

#include <cstdint>

#include "FlashRuntimeExtensions.h"

namespace brisora {

// The 68 named functions, first "initRtmpLiveSdk", last "keepScreenOn".
const FRENamedFunction* functionTable();
uint32_t functionCount();

}  // namespace brisora
