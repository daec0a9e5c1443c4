#include "standin_common/frame_content.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "standin_common/tokens.h"

namespace standin_common {
namespace {

constexpr uint64_t kMaxFrameBytes = uint64_t(1) << 30;

std::mutex& folderMutex() {
  static std::mutex m;
  return m;
}

std::string& folder() {
  static std::string f;
  return f;
}

uint8_t clamp8(int v) { return static_cast<uint8_t>(std::min(255, std::max(0, v))); }

bool byteValue(const std::string& s, uint8_t* out) {
  if (s.empty()) return false;
  char* end = nullptr;
  const long v = std::strtol(s.c_str(), &end, 0);
  if (*end || v < 0 || v > 255) return false;
  *out = static_cast<uint8_t>(v);
  return true;
}

bool isAbsolute(const std::string& path) {
  return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

}  // namespace

void rgbToYuv(uint8_t r, uint8_t g, uint8_t b, uint8_t* y, uint8_t* u, uint8_t* v) {
  *y = clamp8(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
  *u = clamp8(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
  *v = clamp8(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

void yuvToRgb(uint8_t y, uint8_t u, uint8_t v, uint8_t* r, uint8_t* g, uint8_t* b) {
  const int c = 298 * (int(y) - 16), d = int(u) - 128, e = int(v) - 128;
  *r = clamp8((c + 409 * e + 128) >> 8);
  *g = clamp8((c - 100 * d - 208 * e + 128) >> 8);
  *b = clamp8((c + 516 * d + 128) >> 8);
}

uint64_t frameBytes(PixelFormat format, uint32_t width, uint32_t height) {
  const uint64_t w = width, h = height;
  uint64_t n = 0;
  switch (format) {
    case PixelFormat::I420: n = w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2); break;
    case PixelFormat::Bgr24: n = w * h * 3; break;
    case PixelFormat::Bgra32: n = w * h * 4; break;
  }
  return n > kMaxFrameBytes ? 0 : n;
}

void convertBgra(const uint8_t* bgra, uint32_t width, uint32_t height, PixelFormat format, uint8_t* out) {
  const size_t w = width, h = height;
  if (format == PixelFormat::Bgra32) {
    std::memcpy(out, bgra, w * h * 4);
    return;
  }
  if (format == PixelFormat::Bgr24) {
    for (size_t i = 0; i < w * h; ++i) std::memcpy(out + i * 3, bgra + i * 4, 3);
    return;
  }
  const size_t cw = (w + 1) / 2, ch = (h + 1) / 2;
  uint8_t* yp = out;
  uint8_t* up = yp + w * h;
  uint8_t* vp = up + cw * ch;
  for (size_t y = 0; y < h; ++y)
    for (size_t x = 0; x < w; ++x) {
      const uint8_t* p = bgra + (y * w + x) * 4;
      uint8_t u, v;
      rgbToYuv(p[2], p[1], p[0], &yp[y * w + x], &u, &v);
    }
  // Each chroma sample is the mean of the 2 x 2 block it covers (what lies
  // inside the picture).
  for (size_t cy = 0; cy < ch; ++cy)
    for (size_t cx = 0; cx < cw; ++cx) {
      int r = 0, g = 0, b = 0, n = 0;
      for (size_t y = cy * 2; y < std::min(h, cy * 2 + 2); ++y)
        for (size_t x = cx * 2; x < std::min(w, cx * 2 + 2); ++x) {
          const uint8_t* p = bgra + (y * w + x) * 4;
          b += p[0], g += p[1], r += p[2], ++n;
        }
      uint8_t yy;
      rgbToYuv(uint8_t((r + n / 2) / n), uint8_t((g + n / 2) / n), uint8_t((b + n / 2) / n), &yy, &up[cy * cw + cx],
               &vp[cy * cw + cx]);
    }
}

// hex="..": pairs of hex digits; blanks between pairs, and the commas that
// split the values, are allowed.
static bool hexContent(const std::vector<std::string>& values, FrameContent* out, std::string* error) {
  out->bytes.clear();
  for (const std::string& s : values) {
    for (size_t i = 0; i < s.size();) {
      if (s[i] == ' ' || s[i] == '\t' || s[i] == ',') {
        ++i;
        continue;
      }
      const int hi = hexValue(s[i]), lo = i + 1 < s.size() ? hexValue(s[i + 1]) : -1;
      if (hi < 0 || lo < 0) {
        *error = "hex= expects pairs of hex digits (\"ff 00 80\"), not " + s.substr(i, 2);
        return false;
      }
      out->bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
      i += 2;
    }
  }
  out->kind = FrameContent::Kind::Bytes;
  return true;
}

bool contentOption(const std::string& key, const std::vector<std::string>& values, FrameContent* out, bool* known,
                   std::string* error) {
  *known = key == "color" || key == "yuv" || key == "hex" || key == "file" || key == "png";
  if (!*known) return true;
  if (out->kind != FrameContent::Kind::Pattern) {
    *error = "a frame takes one of color=, yuv=, hex=, file= and png=";
    return false;
  }
  if (key == "hex") return hexContent(values, out, error);
  if (key == "color") {
    const std::string& s = values.empty() ? std::string() : values[0];
    char* end = nullptr;
    const unsigned long rgb = std::strtoul(s.c_str(), &end, 16);
    if (values.size() != 1 || s.size() != 6 || *end) {
      *error = "color= expects RRGGBB (six hex digits), not " + s;
      return false;
    }
    out->kind = FrameContent::Kind::Color;
    out->rgb[0] = uint8_t(rgb >> 16), out->rgb[1] = uint8_t(rgb >> 8), out->rgb[2] = uint8_t(rgb);
    return true;
  }
  if (key == "yuv") {
    if (values.size() != 3 || !byteValue(values[0], &out->yuv[0]) || !byteValue(values[1], &out->yuv[1]) ||
        !byteValue(values[2], &out->yuv[2])) {
      *error = "yuv= expects Y,U,V (three values from 0 to 255)";
      return false;
    }
    out->kind = FrameContent::Kind::Yuv;
    return true;
  }
  if (values.size() != 1 || values[0].empty()) {
    *error = key + "= expects one file name";
    return false;
  }
  out->kind = key == "file" ? FrameContent::Kind::File : FrameContent::Kind::Png;
  out->path = values[0];
  return true;
}

bool drawContent(const FrameContent& content, PixelFormat format, uint32_t* width, uint32_t* height,
                 std::vector<uint8_t>* out, std::string* error) {
  if (content.kind == FrameContent::Kind::File) return readFile(content.path, out, error);
  if (content.kind == FrameContent::Kind::Bytes) {
    *out = content.bytes;
    return true;
  }
  if (content.kind == FrameContent::Kind::Png) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> bgra;
    if (!readPng(content.path, &w, &h, &bgra, error)) return false;
    if ((*width || *height) && (*width != w || *height != h)) {
      *error = content.path + " is " + std::to_string(w) + "x" + std::to_string(h) + ", not " +
               std::to_string(*width) + "x" + std::to_string(*height);
      return false;
    }
    *width = w, *height = h;
    out->resize(frameBytes(format, w, h));
    convertBgra(bgra.data(), w, h, format, out->data());
    return true;
  }
  const uint64_t bytes = frameBytes(format, *width, *height);
  if (bytes == 0 && *width && *height) {
    *error = "frame too large for the stand-in";
    return false;
  }
  out->assign(bytes, 0);
  uint8_t rgb[3], yuv[3];
  if (content.kind == FrameContent::Kind::Yuv) {
    std::memcpy(yuv, content.yuv, 3);
    yuvToRgb(yuv[0], yuv[1], yuv[2], &rgb[0], &rgb[1], &rgb[2]);
  } else {
    std::memcpy(rgb, content.rgb, 3);
    rgbToYuv(rgb[0], rgb[1], rgb[2], &yuv[0], &yuv[1], &yuv[2]);
  }
  const size_t pixels = size_t(*width) * *height;
  if (format == PixelFormat::I420) {
    const size_t chroma = size_t((*width + 1) / 2) * ((*height + 1) / 2);
    std::memset(out->data(), yuv[0], pixels);
    std::memset(out->data() + pixels, yuv[1], chroma);
    std::memset(out->data() + pixels + chroma, yuv[2], chroma);
  } else {
    const size_t step = format == PixelFormat::Bgr24 ? 3 : 4;
    for (size_t i = 0; i < pixels; ++i) {
      uint8_t* p = out->data() + i * step;
      p[0] = rgb[2], p[1] = rgb[1], p[2] = rgb[0];
      if (step == 4) p[3] = 255;
    }
  }
  return true;
}

void setFileFolder(const std::string& f) {
  std::lock_guard<std::mutex> lock(folderMutex());
  folder() = f;
}

std::string resolveFile(const std::string& path) {
  std::lock_guard<std::mutex> lock(folderMutex());
  if (folder().empty() || isAbsolute(path)) return path;
  return folder() + "/" + path;
}

bool readFile(const std::string& path, std::vector<uint8_t>* out, std::string* error) {
  const std::string file = resolveFile(path);
  FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) {
    *error = "cannot read " + file;
    return false;
  }
  out->clear();
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (out->size() + n > kMaxFrameBytes) {
      std::fclose(f);
      *error = file + " is too large for the stand-in";
      return false;
    }
    out->insert(out->end(), buffer, buffer + n);
  }
  std::fclose(f);
  return true;
}

bool readPng(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* bgra,
             std::string* error) {
  const std::string file = resolveFile(path);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) {
    *error = "cannot read the PNG picture " + file + ": " + image.message;
    return false;
  }
  image.format = PNG_FORMAT_BGRA;
  if (uint64_t(image.width) * image.height * 4 > kMaxFrameBytes) {
    png_image_free(&image);
    *error = file + " is too large for the stand-in";
    return false;
  }
  bgra->resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bgra->data(), 0, nullptr)) {
    *error = "cannot read the PNG picture " + file + ": " + image.message;
    return false;
  }
  *width = image.width;
  *height = image.height;
  return true;
}

}  // namespace standin_common
