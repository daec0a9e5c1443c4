// The content of the frames that the SDK stand-ins deliver when a command
// asks for more than their test picture: one colour, given Y/U/V values, the
// bytes of a file, or a PNG picture, drawn in the frame's pixel format. The
// same options in both stand-ins:
//
//   color=RRGGBB   yuv=Y,U,V   hex="ff 00 80 ..."   file="frame.raw"   png="picture.png"
//
// hex= gives the frame's bytes in the line itself, pairs of hex digits (blanks
// and commas between pairs allowed), as they are, whatever their length.
//
// Relative file names are read from the folder set with setFileFolder (the
// host tool sets it to its script's folder), else from the current folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin_common {

enum class PixelFormat {
  I420,    // Y (stride W), then U and V of ((W+1)/2) x ((H+1)/2) each
  Bgr24,   // 3 bytes a pixel: blue, green, red; top row first
  Bgra32,  // 4 bytes a pixel: blue, green, red, alpha 255; top row first
};

struct FrameContent {
  enum class Kind { Pattern, Color, Yuv, Bytes, File, Png };
  Kind kind = Kind::Pattern;  // Pattern: the stand-in's own test picture
  uint8_t rgb[3] = {0, 0, 0};
  uint8_t yuv[3] = {16, 128, 128};
  std::string path;
  std::vector<uint8_t> bytes;  // Bytes: the frame as given
};

// Reads one option of a frame command. *known is false for a key that is none
// of color, yuv, hex, file and png (nothing else happens then); a known key with a
// bad value is false with *error. values: the option's comma-separated
// values, quotes and escapes already read.
bool contentOption(const std::string& key, const std::vector<std::string>& values, FrameContent* out, bool* known,
                   std::string* error);

// Draws the content (not Pattern) as a frame of *width x *height pixels.
// A PNG gives its own size: with *width and *height 0 they are set from it,
// otherwise they must match. A file's bytes are the frame as they are,
// whatever its length.
bool drawContent(const FrameContent& content, PixelFormat format, uint32_t* width, uint32_t* height,
                 std::vector<uint8_t>* out, std::string* error);

// The bytes a frame of that format and size takes (0 when it would pass 1 GiB).
uint64_t frameBytes(PixelFormat format, uint32_t width, uint32_t height);

// Blue, green, red, alpha pixels, top row first, into the format.
void convertBgra(const uint8_t* bgra, uint32_t width, uint32_t height, PixelFormat format, uint8_t* out);
// BT.601 limited range, as the stand-ins' test pictures are converted.
void rgbToYuv(uint8_t r, uint8_t g, uint8_t b, uint8_t* y, uint8_t* u, uint8_t* v);
void yuvToRgb(uint8_t y, uint8_t u, uint8_t v, uint8_t* r, uint8_t* g, uint8_t* b);

// Relative file names of commands are read from here; empty: the current folder.
void setFileFolder(const std::string& folder);
std::string resolveFile(const std::string& path);
bool readFile(const std::string& path, std::vector<uint8_t>* out, std::string* error);
// A PNG file as blue, green, red, alpha pixels, top row first.
bool readPng(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* bgra,
             std::string* error);

}  // namespace standin_common
