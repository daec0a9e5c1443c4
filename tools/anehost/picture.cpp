#include "picture.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace anehost {

std::vector<uint8_t> bgraToRgba(const uint8_t* bgra, uint32_t width, uint32_t height) {
  const size_t pixels = static_cast<size_t>(width) * height;
  std::vector<uint8_t> rgba(pixels * 4);
  for (size_t i = 0; i < pixels; ++i) {
    rgba[i * 4 + 0] = bgra[i * 4 + 2];
    rgba[i * 4 + 1] = bgra[i * 4 + 1];
    rgba[i * 4 + 2] = bgra[i * 4 + 0];
    rgba[i * 4 + 3] = bgra[i * 4 + 3];
  }
  return rgba;
}

bool writePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba,
              std::string* error) {
  if (width == 0 || height == 0 || rgba.size() / 4 / width < height) {
    *error = "no pixels to write";
    return false;
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    *error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, nullptr);
    std::fclose(file);
    *error = "libpng could not start";
    return false;
  }
  std::vector<png_bytep> rows(height);
  for (uint32_t y = 0; y < height; ++y)
    rows[y] = const_cast<png_bytep>(rgba.data() + static_cast<size_t>(y) * width * 4);
  // libpng reports its errors by longjmp; nothing with a destructor is made
  // between here and the end of the writing.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    *error = "libpng failed writing " + path;
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fclose(file) != 0) {
    *error = "cannot finish " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace anehost
