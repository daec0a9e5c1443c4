#include "picture.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace anehost {

bool readPng(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba,
             std::string* error) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    *error = "cannot read the PNG picture " + path + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  // A picture larger than any BitmapData is not read into memory.
  if (image.width == 0 || image.height == 0 || image.width > 65535 || image.height > 65535 ||
      uint64_t{image.width} * image.height > (64u << 20)) {
    png_image_free(&image);
    *error = path + " is too large a picture (" + std::to_string(image.width) + "x" + std::to_string(image.height) + ")";
    return false;
  }
  rgba->assign(PNG_IMAGE_SIZE(image), 0);
  if (!png_image_finish_read(&image, nullptr, rgba->data(), 0, nullptr)) {
    *error = "cannot read the PNG picture " + path + ": " + image.message;
    png_image_free(&image);
    return false;
  }
  *width = image.width;
  *height = image.height;
  return true;
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
