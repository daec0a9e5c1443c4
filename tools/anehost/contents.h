// Values with contents: the ByteArrays and BitmapDatas a script makes from
// given bytes, a file, a fill colour or a PNG picture, and the reading of
// their bytes and pixels that the content expectations and `save` use.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "air/host.h"
#include "script.h"

namespace anehost {

// The bytes a `hex "..."` text stands for: pairs of hex digits, blanks
// allowed between pairs. False with a message otherwise.
bool hexBytes(const std::string& text, std::string* bytes, std::string* error);
// Bytes as the transcript shows them: hex "0a 0b ff", long runs cut with "...".
std::string hexText(const std::string& bytes, size_t from = 0, size_t count = 32);

// The bytes a content literal gives (Bytes: given bytes, a file, a PNG as
// BGRA pixels, a fill colour). Files are relative to base. False with a
// message when a file cannot be read.
bool contentBytes(const Literal& l, const std::string& base, std::string* bytes, std::string* error);
// The BitmapData a Bitmap literal makes (a size with its fill or its pixels,
// or a PNG), rows bottom first when invertedRows, as the run lays them out.
std::shared_ptr<air::Bitmap> contentBitmap(const Literal& l, const std::string& base, bool invertedRows,
                                           std::string* error);

// A picture read from a ByteArray (BGRA, top row first) or a BitmapData, as
// RGBA bytes top row first. A ByteArray shorter than W × H × 4 reads as
// transparent black where it ends; *shortBy / *extra tell by how much it
// missed (both 0 when it fits).
struct Picture {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
  uint32_t argb(uint32_t x, uint32_t y) const;
};
Picture pictureOfBytes(const std::vector<uint8_t>& bgra, uint32_t width, uint32_t height);
Picture pictureOfBitmap(const air::Bitmap& bitmap);

// A file name of the script, relative to base (the script's folder).
std::string pathFrom(const std::string& file, const std::string& base);

// 0xAARRGGBB as eight hex digits.
std::string colourText(uint32_t argb);
// Whether every channel of two colours differs by at most tolerance.
bool coloursMatch(uint32_t a, uint32_t b, uint32_t tolerance);

}  // namespace anehost
