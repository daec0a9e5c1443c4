// The iLive stand-in's media commands: frames of a chosen colour, Y/U/V
// values or a file's bytes, statistics records with chosen values, and audio
// frames of given samples reach the handlers exactly as asked.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "ilive_standin/standin.h"

namespace {

namespace standin = ilive::standin;

struct Seen {
  std::mutex mutex;
  ilive::VideoFrame frame;
  std::vector<uint8_t> bytes;
  ilive::Statistics stats;
  int count = 0;
};

Seen& seen() {
  static Seen s;
  return s;
}

void onFrame(const ilive::VideoFrame* frame, void*) {
  std::lock_guard<std::mutex> lock(seen().mutex);
  seen().frame = *frame;
  seen().frame.data = nullptr;
  seen().bytes.assign(frame->data, frame->data + frame->dataSize);
  ++seen().count;
}

void onAudio(const ilive::AudioFrame* frame, int32_t, void*) {
  std::lock_guard<std::mutex> lock(seen().mutex);
  seen().bytes.assign(frame->data, frame->data + frame->dataSize);
  ++seen().count;
}

void onQuality(const ilive::Statistics& stats, void*) {
  std::lock_guard<std::mutex> lock(seen().mutex);
  seen().stats = stats;
  ++seen().count;
}

class BrisoraStandInMedia : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::reset();
    GetILive()->setRemoteVideoHandler(onFrame, nullptr);
    seen().count = 0;
  }
  void TearDown() override { standin::reset(); }
  void run(const std::string& line) {
    std::string error;
    ASSERT_TRUE(standin::command(line, &error)) << line << ": " << error;
  }
  std::string refused(const std::string& line) {
    std::string error;
    EXPECT_FALSE(standin::command(line, &error)) << line;
    return error;
  }
};

using Bytes = std::vector<uint8_t>;

TEST_F(BrisoraStandInMedia, FramesOfAColourOrOfYuvValuesInEitherFormat) {
  run("frame remote \"u1\" 2x1 format=rgb24 color=FF8000");
  EXPECT_EQ(seen().bytes, (Bytes{0x00, 0x80, 0xFF, 0x00, 0x80, 0xFF}));  // blue, green, red
  EXPECT_EQ(8, seen().frame.colorFormat);
  EXPECT_EQ(2u, seen().frame.width);

  // Red in I420 (BT.601, limited range); 3 x 2 pixels: 6 Y, 2 U and 2 V bytes.
  run("frame remote \"u1\" 3x2 color=FF0000");
  EXPECT_EQ(seen().bytes, (Bytes{82, 82, 82, 82, 82, 82, 90, 90, 240, 240}));
  EXPECT_EQ(10u, seen().frame.dataSize);

  run("frame remote \"u1\" 2x2 yuv=200,30,220 size=8");
  EXPECT_EQ(seen().bytes, (Bytes{200, 200, 200, 200, 30, 220, 0, 0}));
  run("frame remote \"u1\" 1x1 format=rgb24 yuv=235,128,128");
  EXPECT_EQ(seen().bytes, (Bytes{255, 255, 255}));

  EXPECT_NE(std::string::npos, refused("frame remote \"u1\" 2x2 color=red").find("RRGGBB"));
  EXPECT_NE(std::string::npos, refused("frame remote \"u1\" 2x2 yuv=1,2").find("Y,U,V"));
  refused("frame remote \"u1\" 2x2 yuv=1,2,256");
  refused("frame remote \"u1\" 2x2 color=FF0000 yuv=1,2,3");
  refused("frame remote \"u1\" color=FF0000");  // no size
  EXPECT_NE(std::string::npos, refused("frame remote \"u1\" 2x2 colour=FF0000").find("unknown option"));
}

TEST_F(BrisoraStandInMedia, FramesFromAFileAreItsBytesReadFromTheFolderSet) {
  const auto dir = std::filesystem::temp_directory_path() / ("brisora-media-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "seven.raw", std::ios::binary).write("\x01\x02\x03\x04\x05\x06\x07", 7);
  run("folder \"" + dir.generic_string() + "\"");
  run("frame remote \"u1\" 7x1 format=rgb24 file=\"seven.raw\"");
  EXPECT_EQ(seen().bytes, (Bytes{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(7u, seen().frame.dataSize);
  run("frame remote \"u1\" 7x1 file=\"seven.raw\" size=3");
  EXPECT_EQ(seen().bytes, (Bytes{1, 2, 3}));
  EXPECT_NE(std::string::npos, refused("frame remote \"u1\" 2x2 file=\"missing.raw\"").find("missing.raw"));
  EXPECT_NE(std::string::npos, refused("frame remote \"u1\" png=\"seven.raw\"").find("PNG"));
  run("folder \"\"");
  std::filesystem::remove_all(dir);
}

TEST_F(BrisoraStandInMedia, StatisticsCarryTheChosenValues) {
  ilive::RoomOption option;
  option.qualityHandler = onQuality;
  GetILive()->createRoom(option, nullptr, nullptr, nullptr);
  run("stats exeCpuRate=77 networkParams.rtt=99 avsdkVersion=\"9.9\" videoDecodeParams.userId=\"a\",\"b\" "
      "videoRecvParams.lossRate=1.5 videoEncodeParams.gopparam.lossrate2S=4 audioQosParam.aecEnable=0");
  const ilive::Statistics& s = seen().stats;
  EXPECT_EQ(77, s.exeCpuRate);
  EXPECT_EQ(99u, s.networkParams.rtt);
  EXPECT_STREQ("9.9", s.avsdkVersion.c_str());
  ASSERT_EQ(2u, s.videoDecodeParams.size());  // as many elements as values given
  EXPECT_STREQ("a", s.videoDecodeParams[0].userId.c_str());
  EXPECT_STREQ("b", s.videoDecodeParams[1].userId.c_str());
  ASSERT_EQ(2u, s.videoRecvParams.size());
  EXPECT_FLOAT_EQ(1.5f, s.videoRecvParams[1].lossRate);
  EXPECT_EQ(4u, s.videoEncodeParams[1].gopparam.lossrate2S);
  EXPECT_EQ(0, s.audioQosParam.aecEnable);
  EXPECT_EQ(1600u, s.networkParams.kbpsRecv);  // the sample values stay where nothing was chosen

  run("stats lists=0");
  EXPECT_EQ(0u, seen().stats.videoDecodeParams.size());
  EXPECT_NE(std::string::npos, refused("stats networkParams.rttt=1").find("no field"));
  EXPECT_NE(std::string::npos, refused("stats exeCpuRate=70000").find("range"));
  refused("stats lists=1 videoDecodeParams.width=1,2");  // more values than elements
  refused("stats rtt");
}

TEST_F(BrisoraStandInMedia, AudioFramesCarryTheGivenSamples) {
  GetILive()->setAudioDataHandler(1, onAudio, nullptr);
  run("audio 1 \"u1\" values=1,-2,300");
  EXPECT_EQ(seen().bytes, (Bytes{0x01, 0x00, 0xFE, 0xFF, 0x2C, 0x01}));
  run("audio 1 \"u1\" values=-32768,32767 size=6");  // repeated to the size
  EXPECT_EQ(seen().bytes, (Bytes{0x00, 0x80, 0xFF, 0x7F, 0x00, 0x80}));
  refused("audio 1 \"u1\" values=40000");
  refused("audio 1 \"u1\" values=1 amplitude=3");
  refused("audio 1 \"u1\" volume=3");
}

TEST_F(BrisoraStandInMedia, LateFramesReachTheHandlersAReleaseLetGoOf) {
  EXPECT_NE(std::string::npos, refused("late frame remote \"u1\" 2x2").find("no remote-video handler"));
  GetILive()->releaseSdk(nullptr, nullptr, nullptr);
  run("frame remote \"u1\" 2x2");  // the handlers stay until the release completes
  EXPECT_EQ(1, seen().count);
  run("complete releaseSdk ok");
  refused("frame remote \"u1\" 2x2");
  run("late frame remote \"u1\" 1x1 format=rgb24 color=010203");
  EXPECT_EQ(2, seen().count);
  EXPECT_EQ(seen().bytes, (Bytes{3, 2, 1}));
  refused("late");
}

}  // namespace
