// Pictures as PNG files (8-bit RGBA, through libpng).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace anehost {

// rgba holds width × height pixels, top row first, bytes red, green, blue, alpha.
bool writePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
              std::string* error);

// Reads a PNG file as RGBA bytes, top row first (any PNG colour type).
bool readPng(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba,
             std::string* error);

}  // namespace anehost
