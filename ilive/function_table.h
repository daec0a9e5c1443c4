// Brisora's table of named functions (function_table.cpp).
#pragma once

#include "core/entry.h"

namespace brisora {

// The 68 named functions, first "initRtmpLiveSdk", last "keepScreenOn".
extern const core::FunctionTable kFunctionTable;

}  // namespace brisora
