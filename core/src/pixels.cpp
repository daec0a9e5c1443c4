// Pixel conversions and buffer helpers. Sizes are checked up front in 64-bit
// arithmetic; the conversions themselves are libyuv's.
#include "core/pixels.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "libyuv/convert_argb.h"

namespace core {

namespace {

// A width whose BGRA row stride fits libyuv's int arguments.
bool strideFits(uint32_t width, uint32_t height) {
  return height <= static_cast<uint32_t>(INT_MAX) && static_cast<uint64_t>(width) * 4 <= INT_MAX;
}

}  // namespace

uint32_t bgraFrameBytes(uint32_t width, uint32_t height) {
  const uint64_t bytes = static_cast<uint64_t>(width) * height * 4;
  return bytes == 0 || bytes > UINT32_MAX ? 0 : static_cast<uint32_t>(bytes);
}

uint64_t i420FrameBytes(uint32_t width, uint32_t height) {
  const uint64_t chroma = (static_cast<uint64_t>(width) + 1) / 2 * ((static_cast<uint64_t>(height) + 1) / 2);
  return static_cast<uint64_t>(width) * height + 2 * chroma;
}

// Plane layout: Y (stride w) at 0, U at w*h, V right after U, chroma strides
// (w+1)/2 and (h+1)/2 rows. For even sizes this is U at w*h, V at w*h*5/4 and
// strides w/2; an odd size rounds the chroma planes up, as I420 senders do.
bool i420ToBgra(const uint8_t* data, size_t dataSize, uint32_t width, uint32_t height, uint8_t* dst) {
  if (!data || !dst || bgraFrameBytes(width, height) == 0 || !strideFits(width, height)) return false;
  if (static_cast<uint64_t>(dataSize) < i420FrameBytes(width, height)) return false;
  const size_t ySize = static_cast<size_t>(width) * height;
  const uint32_t chromaWidth = (width + 1) / 2;
  const size_t chromaSize = static_cast<size_t>(chromaWidth) * ((height + 1) / 2);
  const uint8_t* y = data;
  const uint8_t* u = y + ySize;
  const uint8_t* v = u + chromaSize;
  return libyuv::I420ToARGB(y, static_cast<int>(width), u, static_cast<int>(chromaWidth), v,
                            static_cast<int>(chromaWidth), dst, static_cast<int>(width * 4), static_cast<int>(width),
                            static_cast<int>(height)) == 0;
}

bool rgb24ToBgra(const uint8_t* data, size_t dataSize, uint32_t width, uint32_t height, uint8_t* dst) {
  if (!data || !dst || bgraFrameBytes(width, height) == 0 || !strideFits(width, height)) return false;
  if (static_cast<uint64_t>(dataSize) < static_cast<uint64_t>(width) * height * 3) return false;
  return libyuv::RGB24ToARGB(data, static_cast<int>(width * 3), dst, static_cast<int>(width * 4),
                             static_cast<int>(width), static_cast<int>(height)) == 0;
}

bool copyCentred(uint8_t* dst, const uint8_t* src, uint32_t dstLength, uint32_t srcLength, const Size* dstSize,
                 const Size* srcSize, int bytesPerPixel) {
  if (!dst || !src || !dstSize || !srcSize || bytesPerPixel <= 0) return false;
  if (dstSize->width < 0 || dstSize->height < 0 || srcSize->width < 0 || srcSize->height < 0) return false;
  const uint64_t bpp = static_cast<uint64_t>(bytesPerPixel);
  const uint64_t dstRow = static_cast<uint64_t>(dstSize->width) * bpp;
  const uint64_t srcRow = static_cast<uint64_t>(srcSize->width) * bpp;
  if (dstLength == 0 || dstLength != dstRow * static_cast<uint64_t>(dstSize->height)) return false;
  if (srcLength == 0 || srcLength != srcRow * static_cast<uint64_t>(srcSize->height)) return false;
  // A wider source would run past each destination row.
  if (srcSize->width > dstSize->width) return false;
  const int32_t xOffset = (dstSize->width - srcSize->width) / 2;
  const int32_t yOffset = dstSize->height > srcSize->height ? (dstSize->height - srcSize->height) / 2 : 0;
  // A taller source fills the destination's rows with its top rows.
  const int32_t rows = std::min(srcSize->height, dstSize->height - yOffset);
  for (int32_t r = 0; r < rows; ++r) {
    std::memcpy(dst + (static_cast<uint64_t>(yOffset) + r) * dstRow + static_cast<uint64_t>(xOffset) * bpp,
                src + static_cast<uint64_t>(r) * srcRow, srcRow);
  }
  return true;
}

bool rgbaToRgb(const uint8_t* src, uint8_t* dst, uint32_t srcLength) {
  if (!src || !dst || srcLength == 0) return false;
  const uint32_t pixels = srcLength / 4;
  for (uint32_t i = 0; i < pixels; ++i, src += 4, dst += 3) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
  }
  return true;
}

// Swaps rows pairwise in place: no scratch buffer.
bool flipRgb24Rows(uint8_t* data, uint32_t dataSize, uint32_t width, uint32_t height) {
  const uint64_t row = static_cast<uint64_t>(width) * 3;
  if (!data || static_cast<uint64_t>(dataSize) < row * height) return false;
  for (uint32_t top = 0, bottom = height; top + 1 < bottom; ++top) {
    --bottom;
    std::swap_ranges(data + top * row, data + (top + 1) * row, data + bottom * row);
  }
  return true;
}

}  // namespace core
