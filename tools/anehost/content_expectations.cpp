// The expectations on contents: the bytes of a ByteArray, a pixel of a frame
// or a BitmapData, a whole picture against a PNG file.
#include <algorithm>

#include "contents.h"
#include "expectations.h"
#include "picture.h"

namespace anehost {
namespace {

std::string sizeText(uint32_t w, uint32_t h) { return std::to_string(w) + "x" + std::to_string(h); }

// One byte as two hex digits.
std::string byteHex(char byte) {
  static const char kHex[] = "0123456789abcdef";
  const auto b = static_cast<unsigned char>(byte);
  return {kHex[b >> 4], kHex[b & 15]};
}

}  // namespace

void Expectations::bytes(int line, const cmd::ExpectBytes& c, const air::Value& v) {
  const auto* b = std::get_if<std::shared_ptr<air::ByteArray>>(&v);
  if (!b || !*b) failed(c.name + " is " + t_.value(v) + ", not a ByteArray");
  std::string want, error;
  if (!contentBytes(c.contents, o_.scriptDir, &want, &error)) scriptError(line, error);
  if (c.repeated && want.empty()) scriptError(line, "a repeated run needs at least one byte");
  const std::string have((*b)->bytes.begin(), (*b)->bytes.end());
  const size_t offset = c.hasOffset ? static_cast<size_t>(c.offset) : 0;
  if (c.repeated) return repeatedBytes(c.name, have, offset, want);
  const uint32_t frameWidth = c.contents.width;
  if (c.fill && have.size() != want.size())
    failed(c.name + " holds " + std::to_string(have.size()) + " bytes, not a " + sizeText(frameWidth, c.contents.height) +
           " frame (" + std::to_string(want.size()) + ")");
  if (!c.hasOffset && have.size() != want.size())
    failed(c.name + " holds " + std::to_string(have.size()) + " bytes, expected " + std::to_string(want.size()) +
           ": " + hexText(want));
  if (offset > have.size() || have.size() - offset < want.size())
    failed(c.name + " holds " + std::to_string(have.size()) + " bytes, too few for " + std::to_string(want.size()) +
           " at offset " + std::to_string(offset));
  for (size_t i = 0; i < want.size(); ++i) {
    if (have[offset + i] == want[i]) continue;
    const size_t at = offset + i;
    if (c.fill)  // the pixel and the one byte
      failed(c.name + " differs at byte " + std::to_string(at) + " (pixel " + std::to_string(at / 4 % frameWidth) +
             ", " + std::to_string(at / 4 / frameWidth) + "): it holds " + byteHex(have[at]) + ", expected " + byteHex(want[i]));
    failed(c.name + " differs at byte " + std::to_string(at) + ": from there it holds " + hexText(have, at, 16) +
           ", expected " + hexText(want, i, 16));
  }
}

void Expectations::sameBytes(const cmd::ExpectSameBytes& c, const air::Value& v, const air::Value& other) {
  const auto bytesOf = [&](const std::string& name, const air::Value& value) {
    const auto* b = std::get_if<std::shared_ptr<air::ByteArray>>(&value);
    if (!b || !*b) failed(name + " is " + t_.value(value) + ", not a ByteArray");
    return &(*b)->bytes;
  };
  const auto& a = *bytesOf(c.name, v);
  const auto& b = *bytesOf(c.other, other);
  const size_t common = std::min(a.size(), b.size());
  for (size_t at = 0; at < common; ++at) {
    if (a[at] == b[at]) continue;
    const std::string x(a.begin(), a.end()), y(b.begin(), b.end());
    failed(c.name + " differs from " + c.other + " at byte " + std::to_string(at) + ": " + c.name + " holds " +
           hexText(x, at, 16) + ", " + c.other + " holds " + hexText(y, at, 16));
  }
  if (a.size() != b.size())
    failed(c.name + " holds " + std::to_string(a.size()) + " bytes, " + c.other + " holds " + std::to_string(b.size()) +
           (common ? " (the first " + std::to_string(common) + " are the same)" : ""));
}

// The bytes from offset to the end are the run, over and over.
void Expectations::repeatedBytes(const std::string& name, const std::string& have, size_t offset, const std::string& run) {
  if (offset >= have.size()) failed(name + " holds no bytes from offset " + std::to_string(offset));
  if ((have.size() - offset) % run.size() != 0)
    failed(name + " holds " + std::to_string(have.size()) + " bytes, not a whole number of " +
           std::to_string(run.size()) + "-byte runs" + (offset ? " from offset " + std::to_string(offset) : ""));
  for (size_t at = offset; at < have.size(); ++at)
    if (have[at] != run[(at - offset) % run.size()])
      failed(name + " differs at byte " + std::to_string(at) + ": it holds " + byteHex(have[at]) + ", expected " +
             byteHex(run[(at - offset) % run.size()]));
}

// The picture NAME holds, W × H for a ByteArray (a length that does not fit fails).
static Picture pictureOf(int line, const std::string& name, const air::Value& v, uint32_t width, uint32_t height,
                         bool haveSize, const Transcript& t) {
  if (auto b = std::get_if<std::shared_ptr<air::ByteArray>>(&v); b && *b) {
    if (!haveSize) scriptError(line, name + " is a ByteArray: give its width and height (W H or WxH)");
    const uint64_t need = uint64_t{width} * height * 4;
    if ((*b)->bytes.size() != need)
      failed(name + " holds " + std::to_string((*b)->bytes.size()) + " bytes, not " + std::to_string(width) + " x " +
             std::to_string(height) + " x 4 = " + std::to_string(need));
    return pictureOfBytes((*b)->bytes, width, height);
  }
  if (auto m = std::get_if<std::shared_ptr<air::Bitmap>>(&v); m && *m) {
    if (haveSize && ((*m)->width != width || (*m)->height != height))
      failed(name + " is " + sizeText((*m)->width, (*m)->height) + ", not " + sizeText(width, height));
    return pictureOfBitmap(**m);
  }
  failed(name + " is " + t.value(v) + ", not a ByteArray or BitmapData");
}

void Expectations::pixel(int line, const cmd::ExpectPixel& c, const air::Value& v) {
  const Picture p = pictureOf(line, c.name, v, c.size.width, c.size.height, c.size.given, t_);
  if (c.x >= p.width || c.y >= p.height)
    failed("(" + std::to_string(c.x) + ", " + std::to_string(c.y) + ") lies outside " + c.name + " (" +
           sizeText(p.width, p.height) + ")");
  const uint32_t argb = p.argb(c.x, c.y);
  if (!coloursMatch(argb, c.colour, c.tolerance))
    failed("the pixel of " + c.name + " at (" + std::to_string(c.x) + ", " + std::to_string(c.y) + ") is " +
           colourText(argb) + ", expected " + colourText(c.colour) +
           (c.tolerance ? " within " + std::to_string(c.tolerance) : ""));
}

void Expectations::picture(int line, const cmd::ExpectPicture& c, const air::Value& v) {
  Picture want;
  std::string error;
  if (!readPng(pathFrom(c.file, o_.scriptDir), &want.width, &want.height, &want.rgba, &error)) scriptError(line, error);
  // A ByteArray without a size is taken to be the size of the picture.
  const WrittenSize& size = c.size;
  const bool haveSize = size.given || std::holds_alternative<std::shared_ptr<air::ByteArray>>(v);
  const Picture have =
      pictureOf(line, c.name, v, size.given ? size.width : want.width, size.given ? size.height : want.height, haveSize, t_);
  if (have.width != want.width || have.height != want.height)
    failed(c.name + " is " + sizeText(have.width, have.height) + ", " + c.file + " is " + sizeText(want.width, want.height));
  uint64_t differ = 0;
  uint32_t fx = 0, fy = 0;
  for (uint32_t y = 0; y < have.height; ++y) {
    for (uint32_t x = 0; x < have.width; ++x) {
      if (coloursMatch(have.argb(x, y), want.argb(x, y), c.tolerance)) continue;
      if (!differ++) fx = x, fy = y;
    }
  }
  if (differ)
    failed(std::to_string(differ) + " of " + std::to_string(uint64_t{have.width} * have.height) + " pixels of " +
           c.name + " differ from " + c.file + (c.tolerance ? " by more than " + std::to_string(c.tolerance) : "") +
           "; the first at (" + std::to_string(fx) + ", " + std::to_string(fy) + ") is " + colourText(have.argb(fx, fy)) +
           ", expected " + colourText(want.argb(fx, fy)));
}

}  // namespace anehost
