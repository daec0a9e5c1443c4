// Making ActionScript results and filling ActionScript buffers. A refusal by
// the runtime gives a null FREObject (ActionScript sees null).
#pragma once

#include <cstdint>
#include <string>

#include "FlashRuntimeExtensions.h"

namespace core {

// A String of all size() bytes of the text (embedded zeros kept, no
// terminator counted).
FREObject newString(const std::string& text);
// A zero-terminated text goes through newStringWithZero or a std::string,
// never silently through either.
FREObject newString(const char* text) = delete;
// A String from a zero-terminated text, null as the empty text, with the
// length given to the runtime counting the terminating zero (the form some
// answers have always had).
FREObject newStringWithZero(const char* text);
FREObject newBool(bool value);
FREObject newInt32(int32_t value);
FREObject newUint32(uint32_t value);

// Sets the ByteArray's length to `length` and copies `data` into it.
void fillByteArray(FREObject byteArray, const uint8_t* data, uint32_t length);

// A new opaque BitmapData of width x height from packed BGRA rows (row 0 on
// top), whatever row order and stride the runtime uses. Null when refused.
FREObject newBitmapData(uint32_t width, uint32_t height, const uint8_t* pixels);

}  // namespace core
