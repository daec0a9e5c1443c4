// Making ActionScript results and filling ActionScript buffers. A refusal by
// the runtime gives a null FREObject (ActionScript sees null).
#pragma once

#include <cstdint>
#include <string>

#include "FlashRuntimeExtensions.h"

namespace core {

// From a zero-terminated text: the length passed counts the terminating zero.
FREObject newString(const char* text);
// From a std::string: the length passed is size(), without the terminator.
FREObject newString(const std::string& text);
FREObject newBool(bool value);
FREObject newInt32(int32_t value);
FREObject newUint32(uint32_t value);
FREObject newDouble(double value);

// Sets the ByteArray's length to `length` and copies `data` into it.
void fillByteArray(FREObject byteArray, const uint8_t* data, uint32_t length);

// A new opaque BitmapData of width x height from packed BGRA rows (row 0 on
// top), whatever row order and stride the runtime uses. Null when refused.
FREObject newBitmapData(uint32_t width, uint32_t height, const uint8_t* pixels);

}  // namespace core
