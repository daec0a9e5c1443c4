// Media files, local recording, external capture and custom data.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brisora_b_fixture.h"

namespace brisora_b_test {
namespace {

using ::testing::ElementsAre;
namespace standin = ilive::standin;

using BrisoraMedia = BrisoraSession;

standin::Answer values(int64_t code, std::vector<int64_t> written) {
  standin::Answer a;
  a.code = code;
  a.values = std::move(written);
  return a;
}

TEST_F(BrisoraMedia, MediaFilePlayback) {
  traceOn();
  consoleText();
  standin::setAnswer("isValidMediaFile", code(0));
  EXPECT_TRUE(isFalse(call("isValidMediaFile", {std::string("a.mp4")})));
  standin::setAnswer("openPlayMediaFile", code(3));  // not read
  EXPECT_TRUE(isTrue(call("openPlayMediaFile", {std::string("a.mp4")})));
  standin::setAnswer("pausePlayMediaFile", code(1));
  EXPECT_TRUE(isFalse(call("pausePlayMediaFile")));
  EXPECT_TRUE(isTrue(call("resumePlayMediaFile")));
  EXPECT_TRUE(isTrue(call("setPlayMediaFilePos", {int32_t(-1)})));
  EXPECT_TRUE(isTrue(call("closePlayMediaFile")));
  EXPECT_THAT(calls(), ElementsAre("isValidMediaFile(\"a.mp4\")", "openPlayMediaFile(\"a.mp4\")",
                                   "pausePlayMediaFile()", "resumePlayMediaFile()", "setPlayMediaFilePos(-1)",
                                   "closePlayMediaFile()"));
  EXPECT_EQ(consoleText(),
            "\nBrisora:isValidMediaFile,a.mp4\n\nBrisora:openPlayMediaFile,a.mp4\n\nBrisora:pausePlayMediaFile\n"
            "\nBrisora:resumePlayMediaFile\n\nBrisora:setPlayMediaFilePos==-1\n\nBrisora:closePlayMediaFile\n");

  for (const char* op : {"isValidMediaFile", "openPlayMediaFile", "pausePlayMediaFile", "resumePlayMediaFile",
                         "closePlayMediaFile", "setPlayMediaFilePos"})
    standin::setAnswer(op, throws());
  EXPECT_TRUE(isFalse(call("isValidMediaFile", {std::string("a.mp4")})));
  EXPECT_TRUE(isFalse(call("openPlayMediaFile", {std::string("a.mp4")})));
  EXPECT_TRUE(isFalse(call("pausePlayMediaFile")));
  EXPECT_TRUE(isFalse(call("resumePlayMediaFile")));
  EXPECT_TRUE(isFalse(call("closePlayMediaFile")));
  EXPECT_TRUE(isFalse(call("setPlayMediaFilePos", {int32_t(5)})));
}

TEST_F(BrisoraMedia, PlaybackStateAndPosition) {
  traceOn();
  consoleText();
  for (int64_t answer : {1, 2, 3, -1}) {
    standin::setAnswer("getPlayMediaFileState", code(answer));
    EXPECT_EQ(call("getPlayMediaFileState"), air::Value(int32_t(answer == 1 || answer == 2 ? answer : 0)));
  }
  standin::setAnswer("getPlayMediaFileState", throws());
  EXPECT_EQ(call("getPlayMediaFileState"), air::Value(int32_t(0)));
  EXPECT_EQ(consoleText(),
            "\nBrisora:getPlayMediaFileState == 1\n\nBrisora:getPlayMediaFileState == 2\n"
            "\nBrisora:getPlayMediaFileState == 0\n\nBrisora:getPlayMediaFileState == 0\n"
            "\nBrisora:getPlayMediaFileState == 0\n");

  standin::setAnswer("getPlayMediaFilePos", values(0, {1500, 2000}));
  EXPECT_EQ(call("getPlayMediaFilePos"), air::Value(std::string("1500||2000")));
  EXPECT_EQ(consoleText(), "\nBrisora:getPlayMediaFilePos\n");
  standin::setAnswer("getPlayMediaFilePos", values(0, {-5, 9000000000}));
  EXPECT_EQ(call("getPlayMediaFilePos"), air::Value(std::string("-5||9000000000")));
  standin::setAnswer("getPlayMediaFilePos", values(1, {1500, 2000}));
  EXPECT_TRUE(isNull(call("getPlayMediaFilePos")));
  standin::setAnswer("getPlayMediaFilePos", throws());
  EXPECT_TRUE(isNull(call("getPlayMediaFilePos")));
}

TEST_F(BrisoraMedia, RecordingOutcomesAreOnlyPrinted) {
  EXPECT_TRUE(isTrue(call("startLocalRecord", {std::string("C:\\rec.mp4")})));
  EXPECT_TRUE(isTrue(call("stopLocalRecord")));
  EXPECT_THAT(calls(), ElementsAre("startLocalRecord(\"C:\\\\rec.mp4\", delegate)", "stopLocalRecord()"));
  consoleText();
  ASSERT_TRUE(standin::recordError(-3, "disk full"));
  ASSERT_TRUE(standin::recorded(1, 2, 3, "C:\\rec.mp4"));
  EXPECT_EQ(consoleText(), "\nOnLocalRecordDelegate" "OnError==disk full\n\nOnLocalRecordDelegateOnRecorded==C:\\rec.mp4\n");
  EXPECT_TRUE(events().empty());

  standin::setAnswer("startLocalRecord", throws());
  EXPECT_TRUE(isFalse(call("startLocalRecord", {std::string("C:\\rec.mp4")})));
}

TEST_F(BrisoraMedia, ThousandRecordingsAndCustomDataLeaveNothingBehind) {
  const standin::AllocStats before = standin::allocStats();
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(isTrue(call("startLocalRecord", {std::string("C:\\rec") + std::to_string(i) + ".mp4"})));
    ASSERT_TRUE(isTrue(call("fillCustomData", {std::string("payload ") + std::to_string(i), int32_t(i % 4)})));
  }
  calls();
  const standin::AllocStats after = standin::allocStats();
  EXPECT_EQ(after.live, before.live);
  EXPECT_EQ(after.wrongFrees, before.wrongFrees);
  EXPECT_EQ(after.doubleFrees, before.doubleFrees);
  // The SDK still holds a delegate it can call.
  EXPECT_TRUE(standin::recorded(0, 0, 0, "last"));
}

TEST_F(BrisoraMedia, CustomDataKindsMapToTheSdkCodes) {
  const int32_t kinds[] = {2, 3, 1, 0, 4, -1};
  const int32_t codes[] = {2, 4, 3, 3, 3, 3};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_TRUE(isTrue(call("fillCustomData", {std::string("hello"), kinds[i]})));
    EXPECT_THAT(calls(), ElementsAre("sendCustomData({\"\", 5, <5 bytes>, " + std::to_string(codes[i]) + "})"));
  }
  const std::vector<uint8_t> hello = {'h', 'e', 'l', 'l', 'o'};
  EXPECT_EQ(standin::lastBytes("sendCustomData"), hello);
  standin::setAnswer("sendCustomData", code(1));
  EXPECT_TRUE(isFalse(call("fillCustomData", {std::string("x"), int32_t(2)})));
  standin::setAnswer("sendCustomData", throws());
  EXPECT_TRUE(isFalse(call("fillCustomData", {std::string("x"), int32_t(2)})));
}

TEST_F(BrisoraMedia, ByteArrayFrameIsSentAsPacked24BitRowsInTheirOrder) {
  traceOn();
  consoleText();
  EXPECT_TRUE(isTrue(call("openExternalCapture")));
  auto pixels = std::make_shared<air::ByteArray>();
  pixels->bytes = {1, 2, 3, 4, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  EXPECT_TRUE(isTrue(call("fillExternalCaptureByteFrame", {pixels, int32_t(2), int32_t(2)})));
  EXPECT_TRUE(isTrue(call("closeExternalCapture")));
  EXPECT_THAT(calls(), ElementsAre("openExternalCapture()",
                                   "fillExternalCaptureFrame({\"\", 8, 2, 2, 0, 1, 0, 12, <12 bytes>, 0})",
                                   "closeExternalCapture()"));
  EXPECT_EQ(standin::lastBytes("fillExternalCaptureFrame"),
            (std::vector<uint8_t>{1, 2, 3, 1, 2, 3, 5, 6, 7, 9, 10, 11}));
  EXPECT_EQ(consoleText(),
            "\nBrisora:openExternalCapture\n\nBrisora:fillExternalCaptureByteFrame\n"
            "\nBrisora:closeExternalCapture\n");

  standin::setAnswer("fillExternalCaptureFrame", code(2));
  EXPECT_TRUE(isFalse(call("fillExternalCaptureByteFrame", {pixels, int32_t(2), int32_t(2)})));
  standin::setAnswer("fillExternalCaptureFrame", throws());
  EXPECT_TRUE(isFalse(call("fillExternalCaptureByteFrame", {pixels, int32_t(2), int32_t(2)})));
  standin::setAnswer("openExternalCapture", throws());
  standin::setAnswer("closeExternalCapture", throws());
  EXPECT_TRUE(isFalse(call("openExternalCapture")));
  EXPECT_TRUE(isFalse(call("closeExternalCapture")));
}

TEST_F(BrisoraMedia, ByteArrayFramesThatCannotBeReadWholeAreRefused) {
  auto pixels = std::make_shared<air::ByteArray>();
  pixels->bytes.assign(15, 9);  // one byte short of 2 x 2 x 4
  const std::vector<std::vector<air::Value>> refused = {
      {pixels, int32_t(2), int32_t(2)},
      {pixels, int32_t(0), int32_t(2)},
      {pixels, int32_t(-2), int32_t(-2)},
      {pixels, int32_t(65536), int32_t(65536)},  // 2^34 bytes: the product overflows
      {pixels, int32_t(1), int32_t(1073741824)},
      {std::string("pixels"), int32_t(1), int32_t(1)},
      {},
  };
  for (const auto& args : refused) EXPECT_TRUE(isFalse(call("fillExternalCaptureByteFrame", args)));
  EXPECT_TRUE(calls().empty());
  // More bytes than needed: only width x height pixels are taken.
  pixels->bytes.assign(40, 9);
  EXPECT_TRUE(isTrue(call("fillExternalCaptureByteFrame", {pixels, int32_t(1), int32_t(2)})));
  EXPECT_EQ(standin::lastBytes("fillExternalCaptureFrame"), std::vector<uint8_t>(6, 9));
}

// A bitmap's pixel at (x, y): red x, green y, blue x + y (low bytes).
uint32_t patternWord(uint32_t x, uint32_t y) {
  return 0xFF000000u | ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | ((x + y) & 0xFF);
}

// The 1280 x 720 frame the SDK should get: black, the picture centred (its top
// 720 rows at most), the last row first, 3 bytes a pixel (blue, green, red).
std::vector<uint8_t> expectedCanvas(uint32_t width, uint32_t height) {
  std::vector<uint8_t> canvas(1280 * 720 * 3, 0);
  const uint32_t rows = height < 720 ? height : 720;
  const uint32_t x0 = (1280 - width) / 2;
  const uint32_t y0 = height < 720 ? (720 - height) / 2 : 0;
  for (uint32_t y = 0; y < rows; ++y) {
    const uint32_t sentRow = 719 - (y0 + y);
    for (uint32_t x = 0; x < width; ++x) {
      const uint32_t w = patternWord(x, y);
      uint8_t* p = &canvas[(sentRow * 1280 + x0 + x) * 3];
      p[0] = w & 0xFF;
      p[1] = (w >> 8) & 0xFF;
      p[2] = (w >> 16) & 0xFF;
    }
  }
  return canvas;
}

class BrisoraBitmapFrame : public BrisoraSession, public ::testing::WithParamInterface<std::pair<bool, uint32_t>> {
 protected:
  void TearDown() override {
    air::setBitmapLayout(false, 0);
    BrisoraSession::TearDown();
  }
  std::shared_ptr<air::Bitmap> bitmap(uint32_t width, uint32_t height) {
    auto b = air::newBitmap(width, height, false, 0);
    for (uint32_t y = 0; y < height; ++y)
      for (uint32_t x = 0; x < width; ++x) b->setPixel(x, y, patternWord(x, y));
    return b;
  }
};

TEST_P(BrisoraBitmapFrame, PictureIsCentredOnTheCanvasAndSentBottomRowFirst) {
  air::setBitmapLayout(GetParam().first, GetParam().second);
  const std::pair<uint32_t, uint32_t> sizes[] = {{640, 360}, {1280, 720}, {1280, 800}, {3, 5}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(std::to_string(size.first) + "x" + std::to_string(size.second));
    auto b = bitmap(size.first, size.second);
    EXPECT_TRUE(isTrue(call("fillExternalCaptureBitmapFrame", {b})));
    EXPECT_THAT(calls(), ElementsAre("fillExternalCaptureFrame({\"\", 8, 1280, 720, 0, 1, 0, 2764800, "
                                     "<2764800 bytes>, 0})"));
    EXPECT_TRUE(standin::lastBytes("fillExternalCaptureFrame") == expectedCanvas(size.first, size.second));
    EXPECT_TRUE(air::paddingIntact(*b));
  }
}

TEST_P(BrisoraBitmapFrame, BitmapWiderThanTheCanvasIsRefused) {
  air::setBitmapLayout(GetParam().first, GetParam().second);
  EXPECT_TRUE(isFalse(call("fillExternalCaptureBitmapFrame", {bitmap(1281, 2)})));
  EXPECT_TRUE(isFalse(call("fillExternalCaptureBitmapFrame", {std::string("bitmap")})));
  EXPECT_TRUE(isFalse(call("fillExternalCaptureBitmapFrame")));
  EXPECT_TRUE(calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Layouts, BrisoraBitmapFrame,
                         ::testing::Values(std::make_pair(false, 0u), std::make_pair(true, 0u),
                                           std::make_pair(false, 7u), std::make_pair(true, 3u)));

}  // namespace
}  // namespace brisora_b_test
