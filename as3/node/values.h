// How values cross between JavaScript and the runtime stand-in's host API.
// Plain values cross as JavaScript values; ByteArray and BitmapData as tagged
// records ({kind: "ByteArray", bytes} and {kind: "BitmapData", width, height,
// transparent, pixels}).
#pragma once

#include <vector>

#include <napi.h>

#include "air/host.h"

namespace as3node {

// A JavaScript argument as the runtime value a call receives. Integral
// numbers become int (or uint above the int range), as in ActionScript.
air::Value toHost(const Napi::Value& v);

// The bytes of a ByteArray, and the ARGB pixels of a BitmapData, top row first.
Napi::Value bytesOf(Napi::Env env, const air::ByteArray& b);
Napi::Value pixelsOf(Napi::Env env, const air::Bitmap& b);

// A call's result for JavaScript: {arg: i} when it is argument i itself.
Napi::Value toScript(Napi::Env env, const air::Value& v, const std::vector<air::Value>& args);

}  // namespace as3node
