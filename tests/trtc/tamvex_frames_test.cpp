// The frame path: frame routing, intake, "video" events and getVideoData.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tamvex_session.h"

namespace tamvex_test {
namespace {

using TamvexFrames = TamvexInRoom;

TEST_F(TamvexFrames, LocalI420FrameIsStoredAsBgraAndAnnounced) {
  renderCallbacks(1, {});
  sdk("frame local 640x360 pattern=solid:FF0000");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||640||360||0||0||1")}));
  auto bytes = pull("me", 1);
  ASSERT_EQ(bytes->bytes.size(), 640u * 360 * 4);
  // Red through I420 and back: blue and green near 0, red near 255, alpha 255.
  for (size_t at : {size_t(0), bytes->bytes.size() / 2, bytes->bytes.size() - 4}) {
    EXPECT_LE(bytes->bytes[at + 0], 8) << at;
    EXPECT_LE(bytes->bytes[at + 1], 8) << at;
    EXPECT_GE(bytes->bytes[at + 2], 245) << at;
    EXPECT_EQ(bytes->bytes[at + 3], 255) << at;
  }

  // The rotation is reported, the pixels stay as they came.
  sdk("frame local 640x360 rotation=1");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||640||360||0||1||1")}));
  EXPECT_EQ(pull("me", 1)->bytes.size(), 640u * 360 * 4);

  // The local sub stream has its own renderer, code 2; the small stream is ignored.
  sdk("frame local kind=sub 320x180");
  sdk("frame local kind=small 320x180");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||320||180||0||0||2")}));
  EXPECT_EQ(pull("me", 1)->bytes.size(), 640u * 360 * 4);
  EXPECT_EQ(pull("me", 2)->bytes.size(), 320u * 180 * 4);
}

TEST_F(TamvexFrames, BgraFrameIsStoredByteForByte) {
  renderCallbacks(3, {});
  sdk("frame local null 2x2 format=bgra pattern=ramp");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||2||2||0||0||1")}));
  auto bytes = pull("me", 1);
  std::vector<uint8_t> expected(16);
  for (int i = 0; i < 16; ++i) expected[i] = uint8_t(i);
  EXPECT_EQ(bytes->bytes, expected);
}

// A remote camera's frames are stored only once its video was announced;
// small, sub and other streams get a renderer on their first frame.
TEST_F(TamvexFrames, RemoteBigStreamWaitsForAvailabilityOtherStreamsDoNot) {
  renderCallbacks(1, {"u1", "u2"});
  sdk("frame remote \"u1\" 64x36");
  EXPECT_TRUE(events().empty());
  EXPECT_NE(console().find("\n onRenderRemoteVideoFrame not ANEVideoRander = u1"), std::string::npos);

  sdk("video-available \"u1\" 1");
  events();
  sdk("frame remote \"u1\" 64x36");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "u1||64||36||0||0||1")}));
  EXPECT_EQ(pull("u1", 1)->bytes.size(), 64u * 36 * 4);

  console();
  sdk("frame remote \"u2\" kind=small 32x18");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "u2||32||18||0||0||10")}));
  EXPECT_NE(console().find("\nno Video - init Create === 10"), std::string::npos);
  EXPECT_EQ(pull("u2", 10)->bytes.size(), 32u * 18 * 4);
  auto untouched = pull("u2", 1);
  EXPECT_EQ(untouched->bytes, std::vector<uint8_t>(3, 0xEE));
  EXPECT_NE(console().find("\n getVideoData = not get videoRander  - u2"), std::string::npos);

  sdk("frame remote \"u2\" kind=sub 32x18");
  sdk("frame remote \"u2\" kind=7 32x18");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "u2||32||18||0||0||2"),
                                               event("video", "u2||32||18||0||0||0")}));
}

// Frames that cannot be read safely are dropped like empty ones.
TEST_F(TamvexFrames, EmptyShortAndOversizedFramesChangeNothing) {
  renderCallbacks(1, {});
  sdk("frame local 8x8 format=bgra pattern=ramp");
  events();
  const auto before = pull("me", 1)->bytes;

  sdk("frame local 8x8 length=0");
  sdk("frame local 8x8 data=null");
  sdk("frame local 8x8 length=95");                  // I420 8x8 needs 96 bytes
  sdk("frame local 8x8 format=bgra length=255");     // BGRA 8x8 needs 256 bytes
  sdk("frame local 65536x65536 format=bgra length=64");  // width x height x 4 overflows 32 bits
  sdk("frame local 0x8 length=64");
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(pull("me", 1)->bytes, before);

  // An unknown format is sized and announced but carries no pixels of the SDK.
  sdk("frame local 4x4 format=2 length=64");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||4||4||0||0||1")}));
  EXPECT_EQ(pull("me", 1)->bytes, std::vector<uint8_t>(64, 0));
}

TEST_F(TamvexFrames, PullingWithoutAFrameOrWithBadArgumentsIsHarmless) {
  sdk("video-available \"u3\" 1");
  events();
  EXPECT_TRUE(pull("u3", 1)->bytes.empty());  // bound, never stored a frame
  EXPECT_EQ(call("getVideoData", {}), air::Value(air::Null{}));
  EXPECT_EQ(call("getVideoData", {7, S("u3"), 1}), air::Value(air::Null{}));
  EXPECT_EQ(call("getVideoData", {air::Null{}, S("u3"), 1}), air::Value(air::Null{}));
  EXPECT_EQ(call("getAudioData", {S("x"), 1}), air::Value(air::Null{}));
}

// The id of a frame is matched byte for byte with the id the availability
// notice bound, also for ids outside ASCII.
TEST_F(TamvexFrames, NonAsciiUserIdIsBoundAndReportedAsReceived) {
  const std::string id = "\xE5\xBC\xA0\xE4\xB8\x89";  // 张三 in UTF-8
  renderCallbacks(1, {id});
  sdk("video-available \"" + id + "\" 1");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("mediaavailable", "video||" + id + "||1")}));
  // The console is code page 936.
  EXPECT_NE(console().find("\n  onUserVideoAvailable  =video||\xD5\xC5\xC8\xFD||1"), std::string::npos);
  sdk("frame remote \"" + id + "\" 16x8");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", id + "||16||8||0||0||1")}));
  EXPECT_EQ(pull(id, 1)->bytes.size(), 16u * 8 * 4);
  EXPECT_EQ(console().find("not ANEVideoRander"), std::string::npos);
}

// Frames of a chosen colour or Y/U/V values, or a file's bytes, in the
// callback's format: a BGRA colour arrives byte for byte, I420 values
// through the conversion to BGRA.
TEST_F(TamvexFrames, FramesOfGivenContentArriveAsAsked) {
  renderCallbacks(3, {});
  sdk("frame local 2x1 format=bgra color=0080FF");
  EXPECT_EQ(events(), (std::vector<air::Event>{event("video", "me||2||1||0||0||1")}));
  EXPECT_EQ(pull("me", 1)->bytes, (std::vector<uint8_t>{0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x80, 0x00, 0xFF}));

  sdk("frame local 2x2 format=i420 yuv=235,128,128");  // white
  events();
  const auto white = pull("me", 1);
  ASSERT_EQ(white->bytes.size(), 16u);
  for (uint8_t b : white->bytes) EXPECT_GE(b, 250);
  sdk("frame local 2x2 format=i420 yuv=16,128,128");  // black
  events();
  const auto black = pull("me", 1);
  for (size_t i = 0; i < black->bytes.size(); ++i) EXPECT_EQ(black->bytes[i], i % 4 == 3 ? 255 : 0) << i;

  const auto file = std::filesystem::temp_directory_path() / ("tamvex-frame-" + std::to_string(std::rand()) + ".raw");
  std::ofstream(file, std::ios::binary).write("\x01\x02\x03\x04\x05\x06\x07\x08", 8);
  sdk("frame local 2x1 format=bgra file=\"" + file.generic_string() + "\"");
  events();
  EXPECT_EQ(pull("me", 1)->bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
  std::filesystem::remove(file);

  std::string error;
  EXPECT_FALSE(liteav_standin::command("frame local 2x1 color=12345", &error));
  EXPECT_NE(error.find("RRGGBB"), std::string::npos);
  EXPECT_FALSE(liteav_standin::command("frame local 2x1 file=\"/nonexistent/x.raw\"", &error));
}

}  // namespace
}  // namespace tamvex_test
