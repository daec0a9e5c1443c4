// Tamvex's table of named functions (function_table.cpp).
#pragma once

#include "core/entry.h"

namespace tamvex {

// The 85 named functions, first "initTRTCSdk", last "ITXVodPlayer_seek".
extern const core::FunctionTable kFunctionTable;

}  // namespace tamvex
