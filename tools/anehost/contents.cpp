#include "contents.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "picture.h"
#include "standin_common/tokens.h"
#include "script_line.h"

namespace anehost {

std::string pathFrom(const std::string& file, const std::string& base) {
  std::filesystem::path p(file);
  if (p.is_relative() && !base.empty()) p = std::filesystem::path(base) / p;
  return p.string();
}

namespace {

bool readFile(const std::string& path, std::string* bytes, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "cannot read " + path;
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  *bytes = s.str();
  return true;
}

}  // namespace

bool hexBytes(const std::string& text, std::string* bytes, std::string* error) {
  bytes->clear();
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || c == ',' || c == '\n') {
      ++i;
      continue;
    }
    const int hi = standin_common::hexValue(c), lo = i + 1 < text.size() ? standin_common::hexValue(text[i + 1]) : -1;
    if (hi < 0 || lo < 0) {
      *error = "hex bytes are pairs of hex digits ('0a ff 10'), not '" + text.substr(i, 2) + "'";
      return false;
    }
    bytes->push_back(static_cast<char>(hi << 4 | lo));
    i += 2;
  }
  return true;
}

std::string hexText(const std::string& bytes, size_t from, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out = "hex \"";
  const size_t end = std::min(bytes.size(), from + count);
  for (size_t i = from; i < end; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (i > from) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  if (end < bytes.size()) out += " ...";
  return out + "\"";
}

bool contentBytes(const Literal& l, const std::string& base, std::string* bytes, std::string* error) {
  switch (l.content) {
    case Literal::Content::None:
      bytes->assign(l.width, '\0');
      return true;
    case Literal::Content::Given:
      *bytes = l.data;
      return true;
    case Literal::Content::File:
      return readFile(pathFrom(l.data, base), bytes, error);
    case Literal::Content::Fill: {
      bytes->clear();
      bytes->reserve(static_cast<size_t>(l.width) * l.height * 4);
      for (uint64_t i = 0; i < uint64_t{l.width} * l.height; ++i) {
        bytes->push_back(static_cast<char>(l.colour));
        bytes->push_back(static_cast<char>(l.colour >> 8));
        bytes->push_back(static_cast<char>(l.colour >> 16));
        bytes->push_back(static_cast<char>(l.colour >> 24));
      }
      return true;
    }
    case Literal::Content::Png: {
      uint32_t width = 0, height = 0;
      std::vector<uint8_t> rgba;
      if (!readPng(pathFrom(l.data, base), &width, &height, &rgba, error)) return false;
      bytes->resize(rgba.size());
      for (size_t i = 0; i + 3 < rgba.size(); i += 4) {
        (*bytes)[i + 0] = static_cast<char>(rgba[i + 2]);
        (*bytes)[i + 1] = static_cast<char>(rgba[i + 1]);
        (*bytes)[i + 2] = static_cast<char>(rgba[i + 0]);
        (*bytes)[i + 3] = static_cast<char>(rgba[i + 3]);
      }
      return true;
    }
  }
  return false;
}

namespace {

// The runtime lays out the bitmaps it makes as setBitmapLayout says; a chosen
// stride holds for the one bitmap only.
std::shared_ptr<air::Bitmap> newBitmap(const Literal& l, bool invertedRows, uint32_t fill) {
  if (l.stride32) air::setBitmapLayout(invertedRows, l.stride32 - l.width);
  auto bitmap = air::newBitmap(l.width, l.height, l.transparent, fill);
  if (l.stride32) air::setBitmapLayout(invertedRows, 0);
  return bitmap;
}

}  // namespace

std::shared_ptr<air::Bitmap> contentBitmap(const Literal& l, const std::string& base, bool invertedRows,
                                           std::string* error) {
  if (l.content == Literal::Content::Given) {
    auto bitmap = newBitmap(l, invertedRows, 0);
    for (uint32_t y = 0; y < l.height; ++y) {
      for (uint32_t x = 0; x < l.width; ++x) {
        const auto* p = reinterpret_cast<const uint8_t*>(&l.data[(static_cast<size_t>(y) * l.width + x) * 4]);
        bitmap->setPixel(x, y, uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
      }
    }
    return bitmap;
  }
  if (l.content != Literal::Content::Png) {
    // As `new BitmapData(w, h, transparent, fill)`; by default opaque white.
    return newBitmap(l, invertedRows, l.content == Literal::Content::Fill ? l.colour : 0xFFFFFFFFu);
  }
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
  if (!readPng(pathFrom(l.data, base), &width, &height, &rgba, error)) return nullptr;
  if (width > kMaxBitmapSide || height > kMaxBitmapSide || uint64_t{width} * height > kMaxBitmapPixels) {
    *error = l.data + " is " + std::to_string(width) + "x" + std::to_string(height) +
             ", larger than a BitmapData can be (8191 a side, 16777215 pixels)";
    return nullptr;
  }
  auto bitmap = air::newBitmap(width, height, true, 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
      bitmap->setPixel(x, y, uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
    }
  }
  return bitmap;
}

uint32_t Picture::argb(uint32_t x, uint32_t y) const {
  const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
}

Picture pictureOfBytes(const std::vector<uint8_t>& bgra, uint32_t width, uint32_t height) {
  Picture p;
  p.width = width;
  p.height = height;
  p.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  const size_t whole = std::min(bgra.size(), p.rgba.size()) / 4 * 4;
  for (size_t i = 0; i < whole; i += 4) {
    p.rgba[i + 0] = bgra[i + 2];
    p.rgba[i + 1] = bgra[i + 1];
    p.rgba[i + 2] = bgra[i + 0];
    p.rgba[i + 3] = bgra[i + 3];
  }
  // The bytes of a last pixel cut short keep their places.
  const size_t partial = std::min(bgra.size(), p.rgba.size());
  static const int kPlace[4] = {2, 1, 0, 3};
  for (size_t i = whole; i < partial; ++i) p.rgba[whole + kPlace[i - whole]] = bgra[i];
  return p;
}

Picture pictureOfBitmap(const air::Bitmap& bitmap) {
  Picture p;
  p.width = bitmap.width;
  p.height = bitmap.height;
  p.rgba.resize(static_cast<size_t>(p.width) * p.height * 4);
  for (uint32_t y = 0; y < p.height; ++y) {
    for (uint32_t x = 0; x < p.width; ++x) {
      const uint32_t argb = bitmap.pixel(x, y);
      uint8_t* q = &p.rgba[(static_cast<size_t>(y) * p.width + x) * 4];
      q[0] = static_cast<uint8_t>(argb >> 16);
      q[1] = static_cast<uint8_t>(argb >> 8);
      q[2] = static_cast<uint8_t>(argb);
      q[3] = bitmap.transparent ? static_cast<uint8_t>(argb >> 24) : 0xFF;
    }
  }
  return p;
}

std::string colourText(uint32_t argb) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", argb);
  return buffer;
}

bool coloursMatch(uint32_t a, uint32_t b, uint32_t tolerance) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int x = static_cast<int>((a >> shift) & 0xFF), y = static_cast<int>((b >> shift) & 0xFF);
    if (static_cast<uint32_t>(x > y ? x - y : y - x) > tolerance) return false;
  }
  return true;
}

}  // namespace anehost
