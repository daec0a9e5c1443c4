// Making ActionScript results and filling ActionScript buffers.
#include "core/results.h"

#include <cstring>

namespace core {

namespace {

// The object a maker call produced, or null when the runtime refused it.
template <class Call>
FREObject made(Call&& call) {
  FREObject object = nullptr;
  return call(&object) == FRE_OK ? object : nullptr;
}

}  // namespace

FREObject newStringWithZero(const char* text) {
  if (!text) text = "";
  const auto length = static_cast<uint32_t>(std::strlen(text) + 1);
  return made([&](FREObject* o) { return FRENewObjectFromUTF8(length, reinterpret_cast<const uint8_t*>(text), o); });
}

FREObject newString(const std::string& text) {
  const auto length = static_cast<uint32_t>(text.size());
  return made(
      [&](FREObject* o) { return FRENewObjectFromUTF8(length, reinterpret_cast<const uint8_t*>(text.c_str()), o); });
}

FREObject newBool(bool value) {
  return made([&](FREObject* o) { return FRENewObjectFromBool(value ? 1u : 0u, o); });
}

FREObject newInt32(int32_t value) {
  return made([&](FREObject* o) { return FRENewObjectFromInt32(value, o); });
}

FREObject newUint32(uint32_t value) {
  return made([&](FREObject* o) { return FRENewObjectFromUint32(value, o); });
}

void fillByteArray(FREObject byteArray, const uint8_t* data, uint32_t length) {
  if (!data) length = 0;
  FREObject lengthObject = newUint32(length);
  if (!lengthObject) return;
  FRESetObjectProperty(byteArray, reinterpret_cast<const uint8_t*>("length"), lengthObject, nullptr);
  FREByteArray bytes{};
  if (FREAcquireByteArray(byteArray, &bytes) != FRE_OK) return;
  // Copies no more than the array holds, should the resize have been refused.
  const uint32_t n = length < bytes.length ? length : bytes.length;
  if (n > 0 && bytes.bytes) std::memcpy(bytes.bytes, data, n);
  FREReleaseByteArray(byteArray);
}

FREObject newBitmapData(uint32_t width, uint32_t height, const uint8_t* pixels) {
  FREObject args[4] = {newUint32(width), newUint32(height), newUint32(0), newUint32(0)};
  for (FREObject arg : args)
    if (!arg) return nullptr;
  FREObject bitmap = nullptr;
  FREObject thrown = nullptr;
  if (FRENewObject(reinterpret_cast<const uint8_t*>("flash.display.BitmapData"), 4, args, &bitmap, &thrown) !=
          FRE_OK ||
      !bitmap) {
    return nullptr;
  }
  FREBitmapData2 data{};
  if (FREAcquireBitmapData2(bitmap, &data) != FRE_OK) return nullptr;
  // Writes only what both the request and the acquired bitmap cover.
  const uint32_t w = width < data.width ? width : data.width;
  const uint32_t h = height < data.height ? height : data.height;
  if (pixels && data.bits32 && data.lineStride32 >= w) {
    const size_t sourceRow = static_cast<size_t>(width) * 4;
    for (uint32_t i = 0; i < h; ++i) {
      const uint32_t r = data.isInvertedY ? h - 1 - i : i;
      const uint8_t* s = pixels + static_cast<size_t>(r) * sourceRow;
      uint32_t* d = data.bits32 + static_cast<size_t>(i) * data.lineStride32;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ || defined(_WIN32)
      // Blue, green, red, alpha in memory is the word 0xAARRGGBB on a
      // little-endian machine: a row is copied as it is.
      std::memcpy(d, s, static_cast<size_t>(w) * 4);
#else
      for (uint32_t j = 0; j < w; ++j, s += 4) {
        d[j] = (static_cast<uint32_t>(s[3]) << 24) | (static_cast<uint32_t>(s[2]) << 16) |
               (static_cast<uint32_t>(s[1]) << 8) | s[0];
      }
#endif
    }
  }
  FREInvalidateBitmapDataRect(bitmap, 0, 0, w, h);
  FREReleaseBitmapData(bitmap);
  return bitmap;
}

}  // namespace core
