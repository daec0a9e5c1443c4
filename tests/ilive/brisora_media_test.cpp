// Media files, local recording, external capture and custom data.
#include "brisora_session.h"

namespace brisora_test {
namespace {

using BrisoraMedia = BrisoraSession;

TEST_F(BrisoraMedia, PlaybackStateAndPosition) {
  traceOn();
  standin::setAnswer("getPlayMediaFilePos", answer(0, {}, {1500, 2000}));
  EXPECT_EQ(call("getPlayMediaFilePos"), text("1500||2000"));
  standin::setAnswer("getPlayMediaFilePos", answer(0, {}, {-5, 9000000000}));
  EXPECT_EQ(call("getPlayMediaFilePos"), text("-5||9000000000"));
  standin::setAnswer("getPlayMediaFilePos", answer(1, {}, {1500, 2000}));
  EXPECT_EQ(call("getPlayMediaFilePos"), kNull);
  EXPECT_EQ(call("setPlayMediaFilePos", {int32_t(-1)}), kTrue);
  EXPECT_THAT(sdkCalls(), testing::Contains("setPlayMediaFilePos(-1)"));
  console();
  standin::setAnswer("getPlayMediaFileState", answer(3));
  EXPECT_EQ(call("getPlayMediaFileState"), air::Value(int32_t(0)));
  standin::setAnswer("getPlayMediaFileState", answer(2));
  EXPECT_EQ(call("getPlayMediaFileState"), air::Value(int32_t(2)));
  EXPECT_EQ(console(), "\nBrisora:getPlayMediaFileState == 0\n\nBrisora:getPlayMediaFileState == 2\n");
  standin::setAnswer("pausePlayMediaFile", answer(1));
  EXPECT_EQ(call("pausePlayMediaFile"), kFalse);
  if (kSdkThrowsReachBrisora) {
    console();
    standin::setAnswer("getPlayMediaFileState", throws());
    EXPECT_EQ(call("getPlayMediaFileState"), air::Value(int32_t(0)));
    EXPECT_EQ(console(), "\nBrisora:getPlayMediaFileState == 0\n");  // printed even then
    standin::setAnswer("openPlayMediaFile", throws());
    EXPECT_EQ(call("openPlayMediaFile", {text("a.mp4")}), kFalse);
  }
}

TEST_F(BrisoraMedia, ThousandRecordingsAndCustomTextsLeaveNothingBehind) {
  const standin::AllocStats before = standin::allocStats();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(call("startLocalRecord", {air::Value("C:\\rec" + std::to_string(i) + ".mp4")}), kTrue);
    ASSERT_EQ(call("fillCustomData", {air::Value("payload " + std::to_string(i)), int32_t(i % 4)}), kTrue);
  }
  sdkCalls();
  const standin::AllocStats after = standin::allocStats();
  EXPECT_EQ(after.live, before.live);
  EXPECT_EQ(after.wrongFrees + after.doubleFrees, before.wrongFrees + before.doubleFrees);
  // The SDK can still call the delegate it holds; outcomes are only printed.
  console();
  ASSERT_TRUE(standin::recordError(-3, "disk full"));
  ASSERT_TRUE(standin::recorded(1, 2, 3, "C:\\rec.mp4"));
  EXPECT_EQ(console(), "\nOnLocalRecordDelegateOnError==disk full\n\nOnLocalRecordDelegateOnRecorded==C:\\rec.mp4\n");
  EXPECT_TRUE(events().empty());
  if (kSdkThrowsReachBrisora) {
    standin::setAnswer("startLocalRecord", throws());
    EXPECT_EQ(call("startLocalRecord", {text("C:\\rec.mp4")}), kFalse);
  }
}

TEST_F(BrisoraMedia, CustomDataKindsMapToTheSdkCodes) {
  const std::pair<int32_t, int32_t> kinds[] = {{2, 2}, {3, 4}, {1, 3}, {0, 3}, {-1, 3}};
  for (const auto& k : kinds) {
    EXPECT_EQ(call("fillCustomData", {text("hello"), k.first}), kTrue);
    EXPECT_THAT(sdkCalls(), ElementsAre("sendCustomData({\"\", 5, <5 bytes>, " + std::to_string(k.second) + "})"));
  }
  EXPECT_EQ(standin::lastBytes("sendCustomData"), (std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}));
  standin::setAnswer("sendCustomData", answer(1));
  EXPECT_EQ(call("fillCustomData", {text("x"), int32_t(2)}), kFalse);
}

TEST_F(BrisoraMedia, ByteArrayFrameIsSentAsPacked24BitRowsOrRefusedWhole) {
  auto pixels = std::make_shared<air::ByteArray>();
  pixels->bytes = {1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_EQ(call("fillExternalCaptureByteFrame", {pixels, int32_t(2), int32_t(2)}), kTrue);
  EXPECT_THAT(sdkCalls(), ElementsAre("fillExternalCaptureFrame({\"\", 8, 2, 2, 0, 1, 0, 12, <12 bytes>, 0})"));
  EXPECT_EQ(standin::lastBytes("fillExternalCaptureFrame"),
            (std::vector<uint8_t>{1, 2, 3, 1, 2, 3, 5, 6, 7, 9, 10, 11}));
  standin::setAnswer("fillExternalCaptureFrame", answer(2));
  EXPECT_EQ(call("fillExternalCaptureByteFrame", {pixels, int32_t(2), int32_t(2)}), kFalse);
  sdkCalls();

  pixels->bytes.pop_back();  // one byte short of 2 x 2 x 4
  const std::vector<std::vector<air::Value>> refused = {
      {pixels, int32_t(2), int32_t(2)},       {pixels, int32_t(0), int32_t(2)},
      {pixels, int32_t(-2), int32_t(-2)},     {pixels, int32_t(65536), int32_t(65536)},
      {text("pixels"), int32_t(1), int32_t(1)}, {}};
  for (const auto& args : refused) EXPECT_EQ(call("fillExternalCaptureByteFrame", args), kFalse);
  EXPECT_TRUE(sdkCalls().empty());
}

// The pixel at (x, y): red x, green y, blue x + y (low bytes).
uint32_t patternWord(uint32_t x, uint32_t y) {
  return 0xFF000000u | ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | ((x + y) & 0xFF);
}

// What the SDK should get: a black 1280 x 720 frame with the picture centred
// (its top 720 rows at most), last row first, bytes blue, green, red.
std::vector<uint8_t> expectedCanvas(uint32_t width, uint32_t height) {
  std::vector<uint8_t> canvas(1280 * 720 * 3, 0);
  const uint32_t x0 = (1280 - width) / 2;
  const uint32_t y0 = height < 720 ? (720 - height) / 2 : 0;
  for (uint32_t y = 0; y < height && y < 720; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      uint8_t* p = &canvas[((719 - (y0 + y)) * 1280 + x0 + x) * 3];
      p[0] = static_cast<uint8_t>(x + y), p[1] = static_cast<uint8_t>(y), p[2] = static_cast<uint8_t>(x);
    }
  }
  return canvas;
}

// (isInvertedY, extra words a row) of the bitmaps the runtime makes.
class BrisoraBitmapFrame : public BrisoraSession, public testing::WithParamInterface<std::pair<bool, uint32_t>> {
 protected:
  void TearDown() override {
    air::setBitmapLayout(false, 0);
    BrisoraSession::TearDown();
  }
};

TEST_P(BrisoraBitmapFrame, PictureIsCentredOnTheCanvasAndSentBottomRowFirst) {
  air::setBitmapLayout(GetParam().first, GetParam().second);
  for (const auto& size : {std::make_pair(640u, 360u), std::make_pair(1280u, 800u), std::make_pair(3u, 5u)}) {
    SCOPED_TRACE(std::to_string(size.first) + "x" + std::to_string(size.second));
    auto bitmap = air::newBitmap(size.first, size.second, false, 0);
    for (uint32_t y = 0; y < size.second; ++y)
      for (uint32_t x = 0; x < size.first; ++x) bitmap->setPixel(x, y, patternWord(x, y));
    EXPECT_EQ(call("fillExternalCaptureBitmapFrame", {bitmap}), kTrue);
    EXPECT_THAT(sdkCalls(),
                ElementsAre("fillExternalCaptureFrame({\"\", 8, 1280, 720, 0, 1, 0, 2764800, <2764800 bytes>, 0})"));
    EXPECT_TRUE(standin::lastBytes("fillExternalCaptureFrame") == expectedCanvas(size.first, size.second));
  }
  // Wider than the canvas: refused, nothing sent.
  EXPECT_EQ(call("fillExternalCaptureBitmapFrame", {air::newBitmap(1281, 2)}), kFalse);
  EXPECT_EQ(call("fillExternalCaptureBitmapFrame", {text("bitmap")}), kFalse);
  EXPECT_TRUE(sdkCalls().empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, BrisoraBitmapFrame,
                         testing::Values(std::make_pair(false, 0u), std::make_pair(true, 0u),
                                         std::make_pair(false, 7u), std::make_pair(true, 3u)));

}  // namespace
}  // namespace brisora_test
