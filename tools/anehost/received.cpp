#include "received.h"

#include <cstdio>

#include "standin_common/frame_content.h"

namespace anehost {
namespace {

// The first bytes in hexadecimal, so a reader sees what was sent at a glance.
std::string hexStart(const std::vector<uint8_t>& bytes) {
  std::string s;
  char hex[4];
  for (size_t i = 0; i < bytes.size() && i < 16; ++i) {
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    s += hex;
  }
  return bytes.size() > 16 ? s + " ..." : s;
}

std::shared_ptr<air::Bitmap> pictureOf(const SdkControl::Received& r, const cmd::LetReceived& let, const Options& o) {
  const std::string& op = let.operation;
  if (!r.frame) failed(op + " hands over no video frame; 'let " + let.name + " = sdk bytes " + op + "' takes its bytes");
  std::string error;
  auto b = receivedPicture(r, op, o.invertedBitmaps, &error);
  if (!b) failed(error);
  return b;
}

}  // namespace

std::shared_ptr<air::Bitmap> receivedPicture(const SdkControl::Received& r, const std::string& operation, bool invertedY,
                                             std::string* error) {
  if (!r.frame) {
    *error = operation + " hands over no video frame";
    return nullptr;
  }
  const uint64_t need = standin_common::frameBytes(
      r.i420 ? standin_common::PixelFormat::I420 : standin_common::PixelFormat::Bgr24, r.width, r.height);
  if (r.width == 0 || r.height == 0 || need == 0 || r.bytes.size() < need) {
    *error = "the " + operation + " frame (" + std::to_string(r.width) + "x" + std::to_string(r.height) + ") holds " +
             std::to_string(r.bytes.size()) + " bytes, not the " + std::to_string(need) + " its size needs";
    return nullptr;
  }
  auto b = std::make_shared<air::Bitmap>();
  b->width = r.width;
  b->height = r.height;
  b->transparent = false;
  b->invertedY = invertedY;
  b->stride32 = r.width;
  b->words.assign(static_cast<size_t>(r.width) * r.height, 0xFF000000u);
  const uint8_t* p = r.bytes.data();
  const size_t w = r.width, h = r.height, cw = (w + 1) / 2, ch = (h + 1) / 2;
  for (size_t y = 0; y < h; ++y)
    for (size_t x = 0; x < w; ++x) {
      uint8_t red, green, blue;
      if (r.i420) {
        standin_common::yuvToRgb(p[y * w + x], p[w * h + (y / 2) * cw + x / 2], p[w * h + cw * ch + (y / 2) * cw + x / 2],
                                 &red, &green, &blue);
      } else {
        const uint8_t* q = p + (y * w + x) * 3;
        blue = q[0], green = q[1], red = q[2];
      }
      b->setPixel(static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                  0xFF000000u | uint32_t{red} << 16 | uint32_t{green} << 8 | blue);
    }
  return b;
}

air::Value receivedValue(SdkControl* sdk, int line, const cmd::LetReceived& let, const Options& o, Transcript& t) {
  if (!sdk) scriptError(line, "this extension has no simulated SDK");
  SdkControl::Received r;
  std::string error;
  if (!sdk->received(let.operation, &r, &error)) failed(error);
  if (let.picture) {
    auto picture = pictureOf(r, let, o);
    t.item("received", let.operation + " frame " + std::to_string(r.width) + "x" + std::to_string(r.height) +
                           (r.i420 ? " I420" : " 24-bit") + " as " + t.value(picture));
    return picture;
  }
  auto bytes = std::make_shared<air::ByteArray>();
  bytes->bytes = r.bytes;
  t.item("received", let.operation + " " + t.value(bytes) + hexStart(r.bytes));
  return bytes;
}

}  // namespace anehost
