// Pictures as PNG files (8-bit RGBA, through libpng).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace anehost {

// rgba holds width × height pixels, top row first, bytes red, green, blue, alpha.
bool writePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
              std::string* error);

// A frame as getVideoData fills a ByteArray: blue, green, red, alpha, top row first.
std::vector<uint8_t> bgraToRgba(const uint8_t* bgra, uint32_t width, uint32_t height);

}  // namespace anehost
