// Pixel work shared by both extensions: frame intake conversions into packed
// BGRA rows (4 bytes a pixel: blue, green, red, alpha) and the buffer helpers
// of external capture. Every function checks sizes before touching memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

struct Size {
  int32_t width;
  int32_t height;
};

// width x height x 4 when it fits in 32 bits and is not zero; 0 otherwise.
uint32_t bgraFrameBytes(uint32_t width, uint32_t height);
// Bytes an I420 frame needs: Y, then U and V of ((w+1)/2) x ((h+1)/2) each; 0 on overflow.
uint64_t i420FrameBytes(uint32_t width, uint32_t height);

// I420 (Y at 0 stride w, U at w*h stride w/2, V at w*h*5/4 stride w/2) to BGRA,
// BT.601 limited range. An odd width or height rounds the chroma planes up:
// U at w*h, V at w*h + cw*ch, strides cw, with cw = (w+1)/2 and ch = (h+1)/2
// (the same layout for even sizes). false (nothing written) when dataSize is
// below i420FrameBytes or the size is zero or too large.
bool i420ToBgra(const uint8_t* data, size_t dataSize, uint32_t width, uint32_t height, uint8_t* dst);
// Packed 24-bit to BGRA: the three source bytes in their order, then 255.
// Converts only width x height pixels; false when dataSize is too short.
bool rgb24ToBgra(const uint8_t* data, size_t dataSize, uint32_t width, uint32_t height, uint8_t* dst);

// Places src in the middle of dst (see the external capture functions);
// false for null or mismatched buffers and for a source wider than dst.
bool copyCentred(uint8_t* dst, const uint8_t* src, uint32_t dstLength, uint32_t srcLength, const Size* dstSize,
                 const Size* srcSize, int bytesPerPixel);
// Drops every fourth byte: 4-byte pixels to 3-byte pixels, order unchanged.
bool rgbaToRgb(const uint8_t* src, uint8_t* dst, uint32_t srcLength);
// Flips packed 24-bit rows vertically in place; false when dataSize < w*h*3.
bool flipRgb24Rows(uint8_t* data, uint32_t dataSize, uint32_t width, uint32_t height);

}  // namespace core
