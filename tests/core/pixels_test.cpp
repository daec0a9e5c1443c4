#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/pixels.h"
#include "libyuv/cpu_id.h"

namespace {

struct Yuv {
  uint8_t y, u, v;
};
const Yuv kRed{81, 90, 240};
const Yuv kGreen{145, 54, 34};
const Yuv kBlue{41, 240, 110};
const Yuv kWhite{235, 128, 128};

// BT.601 limited range, written out here rather than taken from libyuv.
std::vector<int> expectedBgr(Yuv c) {
  const double y = 1.164 * (c.y - 16), u = c.u - 128.0, v = c.v - 128.0;
  auto clamp = [](double x) { return static_cast<int>(std::lround(std::min(255.0, std::max(0.0, x)))); };
  return {clamp(y + 2.018 * u), clamp(y - 0.813 * v - 0.391 * u), clamp(y + 1.596 * v)};
}

void expectColour(const std::vector<uint8_t>& bgra, uint32_t width, uint32_t x, uint32_t y, Yuv c) {
  const uint8_t* p = &bgra[(y * width + x) * 4];
  const std::vector<int> want = expectedBgr(c);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(want[i], p[i], 3) << "pixel " << x << "," << y << " byte " << i;
  EXPECT_EQ(255, p[3]);
}

TEST(CorePixels, I420ConvertsKnownColoursFromTheRightPlanes) {
  // 4 x 2: left block red, right block blue. Y, then U at w*h, V at w*h*5/4.
  const std::vector<uint8_t> frame = {kRed.y, kRed.y, kBlue.y, kBlue.y, kRed.y, kRed.y, kBlue.y, kBlue.y,
                                      kRed.u, kBlue.u, kRed.v, kBlue.v};
  std::vector<uint8_t> bgra(4 * 2 * 4);
  ASSERT_TRUE(core::i420ToBgra(frame.data(), frame.size(), 4, 2, bgra.data()));
  expectColour(bgra, 4, 0, 0, kRed);
  expectColour(bgra, 4, 1, 1, kRed);
  expectColour(bgra, 4, 2, 0, kBlue);
  expectColour(bgra, 4, 3, 1, kBlue);
}

TEST(CorePixels, I420OddSizesUseRoundedUpChromaPlanes) {
  // 3 x 3: chroma planes are 2 x 2 (U at 9, V at 13), 17 bytes in all.
  const Yuv block[2][2] = {{kRed, kBlue}, {kGreen, kWhite}};  // [row][column]
  std::vector<uint8_t> frame(core::i420FrameBytes(3, 3));
  for (uint32_t y = 0; y < 3; ++y)
    for (uint32_t x = 0; x < 3; ++x) frame[y * 3 + x] = block[y / 2][x / 2].y;
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) {
      frame[9 + r * 2 + c] = block[r][c].u;
      frame[13 + r * 2 + c] = block[r][c].v;
    }
  std::vector<uint8_t> bgra(3 * 3 * 4);
  ASSERT_TRUE(core::i420ToBgra(frame.data(), frame.size(), 3, 3, bgra.data()));
  expectColour(bgra, 3, 0, 0, kRed);
  expectColour(bgra, 3, 2, 0, kBlue);
  expectColour(bgra, 3, 0, 2, kGreen);
  expectColour(bgra, 3, 2, 2, kWhite);

  // One byte short: refused, nothing written.
  std::vector<uint8_t> untouched(bgra.size(), 0xAB);
  EXPECT_FALSE(core::i420ToBgra(frame.data(), frame.size() - 1, 3, 3, untouched.data()));
  EXPECT_TRUE(std::all_of(untouched.begin(), untouched.end(), [](uint8_t b) { return b == 0xAB; }));
  EXPECT_FALSE(core::i420ToBgra(frame.data(), frame.size(), 0, 3, untouched.data()));
  EXPECT_FALSE(core::i420ToBgra(nullptr, frame.size(), 3, 3, untouched.data()));
}

TEST(CorePixels, Rgb24KeepsByteOrderAddsOpaqueAlphaAndReadsOnlyWidthTimesHeight) {
  const std::vector<uint8_t> frame = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 99, 99, 99};  // 2 x 2 and extra
  std::vector<uint8_t> bgra(2 * 2 * 4 + 4, 0xEE);
  ASSERT_TRUE(core::rgb24ToBgra(frame.data(), frame.size(), 2, 2, bgra.data()));
  EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255, 0xEE, 0xEE, 0xEE, 0xEE}),
            bgra);
  EXPECT_FALSE(core::rgb24ToBgra(frame.data(), 11, 2, 2, bgra.data()));
}

TEST(CorePixels, CopyCentredPlacesTheSourceInTheMiddle) {
  const core::Size big{640, 480}, small{320, 240};
  std::vector<uint8_t> dst(640 * 480 * 4, 0x11);
  std::vector<uint8_t> src(320 * 240 * 4, 0x22);
  src[0] = 0x33;  // the source's first byte
  ASSERT_TRUE(core::copyCentred(dst.data(), src.data(), dst.size(), src.size(), &big, &small, 4));
  EXPECT_EQ(0x33, dst[(120 * 640 + 160) * 4]);
  EXPECT_EQ(0x11, dst[(120 * 640 + 159) * 4 + 3]);         // left of the band
  EXPECT_EQ(0x22, dst[(359 * 640 + 479) * 4 + 3]);         // last copied byte
  EXPECT_EQ(0x11, dst[(359 * 640 + 480) * 4]);             // right of the band
  EXPECT_EQ(0x11, dst[(360 * 640 + 160) * 4]);             // below it, left as it was

  // Equal sizes: a straight copy.
  const core::Size two{2, 2};
  std::vector<uint8_t> a = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, b(12, 0);
  ASSERT_TRUE(core::copyCentred(b.data(), a.data(), 12, 12, &two, &two, 3));
  EXPECT_EQ(a, b);
}

TEST(CorePixels, CopyCentredRefusesWhatWouldOverrunAndCropsATallerSource) {
  const core::Size dstSize{4, 2}, wide{6, 1}, tall{2, 4};
  std::vector<uint8_t> dst(8, 0), wideSrc(6, 7);
  EXPECT_FALSE(core::copyCentred(dst.data(), wideSrc.data(), 8, 6, &dstSize, &wide, 1));
  EXPECT_EQ(std::vector<uint8_t>(8, 0), dst);
  // Lengths must match the sizes; null buffers and bad pixel sizes are refused.
  std::vector<uint8_t> tallSrc = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(core::copyCentred(dst.data(), tallSrc.data(), 9, 8, &dstSize, &tall, 1));
  EXPECT_FALSE(core::copyCentred(dst.data(), tallSrc.data(), 8, 7, &dstSize, &tall, 1));
  EXPECT_FALSE(core::copyCentred(nullptr, tallSrc.data(), 8, 8, &dstSize, &tall, 1));
  EXPECT_FALSE(core::copyCentred(dst.data(), tallSrc.data(), 8, 8, &dstSize, &tall, 0));
  // Taller: the destination's two rows take the source's top two rows, centred.
  ASSERT_TRUE(core::copyCentred(dst.data(), tallSrc.data(), 8, 8, &dstSize, &tall, 1));
  EXPECT_EQ((std::vector<uint8_t>{0, 1, 2, 0, 0, 3, 4, 0}), dst);
}

TEST(CorePixels, RgbaToRgbDropsEveryFourthByte) {
  const std::vector<uint8_t> src = {1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> dst(6, 0);
  ASSERT_TRUE(core::rgbaToRgb(src.data(), dst.data(), 6));
  EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 0, 0, 0}), dst);
  EXPECT_FALSE(core::rgbaToRgb(src.data(), dst.data(), 0));
  EXPECT_FALSE(core::rgbaToRgb(nullptr, dst.data(), 6));
}

TEST(CorePixels, FlipRgb24RowsFlipsInPlaceAndRefusesShortData) {
  std::vector<uint8_t> rows = {1, 1, 1, 2, 2, 2, 3, 3, 3, 9};  // 1 x 3 and one extra byte
  ASSERT_TRUE(core::flipRgb24Rows(rows.data(), 10, 1, 3));
  EXPECT_EQ((std::vector<uint8_t>{3, 3, 3, 2, 2, 2, 1, 1, 1, 9}), rows);
  EXPECT_FALSE(core::flipRgb24Rows(rows.data(), 8, 1, 3));
  EXPECT_EQ((std::vector<uint8_t>{3, 3, 3, 2, 2, 2, 1, 1, 1, 9}), rows);
  EXPECT_FALSE(core::flipRgb24Rows(nullptr, 9, 1, 3));
}

}  // namespace

// libyuv converts with SIMD rows (SSSE3, AVX2) where the CPU has them and with
// C rows otherwise, chosen at run time; the Windows DLLs are built for SSE2 and
// take the same rows as the Linux build. Pixel results must not depend on
// which rows ran, and they do not: libyuv's C rows compute in the same fixed
// point as its SIMD rows. What every build must give, whichever row runs:
//   - I420: the same bytes from C and SIMD rows (measured: no difference in
//     7227 colours, 64-bit Linux and 32-bit Windows builds alike); every
//     channel within 3 of the BT.601 limited-range equations (expectedBgr
//     above), which neither row evaluates in floating point; black (16, 128,
//     128) exactly 0, 0, 0, white (235, 128, 128) exactly 255, 255, 255;
//     alpha always 255.
//   - Packed 24-bit: exactly the three source bytes and 255 (no arithmetic).
// Each case converts the same frame with the rows the CPU offers and again
// with every SIMD row switched off (libyuv::MaskCpuFlags), in the same build;
// the tests run in the Linux build and in the Windows leg under Wine.
class CpuRows {
 public:
  static void cOnly() { libyuv::MaskCpuFlags(libyuv::kCpuInitialized); }
  static void all() { libyuv::MaskCpuFlags(-1); }
  ~CpuRows() { all(); }
};

TEST(CorePixels, TheSimdRowsAreInUseOnX86) {
#if defined(__i386__) || defined(__x86_64__) || defined(_M_IX86) || defined(_M_X64)
  // SSE2 is the baseline of every build; SSSE3 (every x86 CPU since about
  // 2008) is what libyuv's colour rows need, so they run in this process.
  EXPECT_NE(0, libyuv::TestCpuFlag(libyuv::kCpuHasSSE2));
  EXPECT_NE(0, libyuv::TestCpuFlag(libyuv::kCpuHasSSSE3))
      << "libyuv sees no SSSE3: the colour tests would check the C rows only";
#else
  GTEST_SKIP() << "not an x86 build";
#endif
}

TEST(CorePixels, I420GivesTheSameColoursWithSimdAndCRows) {
  // Every Y, U, V on a grid, one value per 2 x 2 block, 64 pixels a row so
  // that the SIMD rows run whole.
  std::vector<Yuv> values;
  for (int y = 16; y <= 235; y += 9)
    for (int u = 16; u <= 240; u += 14)
      for (int v = 16; v <= 240; v += 14) values.push_back(Yuv{uint8_t(y), uint8_t(u), uint8_t(v)});
  values.push_back(Yuv{16, 128, 128});
  values.push_back(kWhite);
  const uint32_t width = 64, blocksPerRow = width / 2;
  const uint32_t height = 2 * uint32_t((values.size() + blocksPerRow - 1) / blocksPerRow);
  std::vector<uint8_t> frame(core::i420FrameBytes(width, height), 128);
  uint8_t* yPlane = frame.data();
  uint8_t* uPlane = yPlane + width * height;
  uint8_t* vPlane = uPlane + (width / 2) * (height / 2);
  for (size_t i = 0; i < values.size(); ++i) {
    const uint32_t bx = uint32_t(i % blocksPerRow), by = uint32_t(i / blocksPerRow);
    for (uint32_t dy = 0; dy < 2; ++dy)
      for (uint32_t dx = 0; dx < 2; ++dx) yPlane[(2 * by + dy) * width + 2 * bx + dx] = values[i].y;
    uPlane[by * blocksPerRow + bx] = values[i].u;
    vPlane[by * blocksPerRow + bx] = values[i].v;
  }

  CpuRows rows;
  std::vector<uint8_t> simd(width * height * 4), plain(width * height * 4);
  CpuRows::all();
  ASSERT_TRUE(core::i420ToBgra(frame.data(), frame.size(), width, height, simd.data()));
  CpuRows::cOnly();
  ASSERT_TRUE(core::i420ToBgra(frame.data(), frame.size(), width, height, plain.data()));
  CpuRows::all();

  // The byte offset of the bottom right pixel of value i's block.
  const auto pixelOf = [&](size_t i) {
    const size_t x = 2 * (i % blocksPerRow) + 1, y = 2 * (i / blocksPerRow) + 1;
    return (y * width + x) * 4;
  };
  int widest = 0;
  for (size_t i = 0; i < values.size(); ++i) {
    const size_t at = pixelOf(i);
    const std::vector<int> want = expectedBgr(values[i]);
    for (int c = 0; c < 3; ++c) {
      SCOPED_TRACE("Y " + std::to_string(values[i].y) + " U " + std::to_string(values[i].u) + " V " +
                   std::to_string(values[i].v) + " byte " + std::to_string(c));
      EXPECT_NEAR(want[c], simd[at + c], 3);
      EXPECT_NEAR(want[c], plain[at + c], 3);
      widest = std::max(widest, std::abs(int(simd[at + c]) - int(plain[at + c])));
    }
    EXPECT_EQ(255, simd[at + 3]);
    EXPECT_EQ(255, plain[at + 3]);
  }
  const size_t black = pixelOf(values.size() - 2), white = pixelOf(values.size() - 1);
  for (const std::vector<uint8_t>* out : {&simd, &plain}) {
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0, 255}), std::vector<uint8_t>(out->begin() + black, out->begin() + black + 4));
    EXPECT_EQ((std::vector<uint8_t>{255, 255, 255, 255}),
              std::vector<uint8_t>(out->begin() + white, out->begin() + white + 4));
  }
  EXPECT_EQ(0, widest) << "SIMD and C rows differ by up to " << widest << " in " << values.size() << " colours";
  EXPECT_EQ(simd, plain);
}

TEST(CorePixels, Rgb24GivesTheSameBytesWithSimdAndCRows) {
  const uint32_t width = 67, height = 5;  // whole SIMD rows and a remainder
  std::vector<uint8_t> frame(width * height * 3);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i * 37 + 11);
  CpuRows rows;
  std::vector<uint8_t> simd(width * height * 4), plain(width * height * 4);
  CpuRows::all();
  ASSERT_TRUE(core::rgb24ToBgra(frame.data(), frame.size(), width, height, simd.data()));
  CpuRows::cOnly();
  ASSERT_TRUE(core::rgb24ToBgra(frame.data(), frame.size(), width, height, plain.data()));
  CpuRows::all();
  std::vector<uint8_t> want;
  for (size_t p = 0; p < size_t(width) * height; ++p)
    want.insert(want.end(), {frame[3 * p], frame[3 * p + 1], frame[3 * p + 2], 255});
  EXPECT_EQ(want, simd);
  EXPECT_EQ(want, plain);
}
