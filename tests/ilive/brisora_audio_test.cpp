// Audio data and device notices: "devices", "audioevent", "audiodata" and
// getAudioData, also with the handler running on several SDK threads at once.
#include <atomic>
#include <thread>

#include "brisora_session.h"

namespace brisora_test {
namespace {

// An audio frame of 16-bit little-endian samples kept in *storage.
ilive::AudioFrame audioFrame(const std::string& user, uint32_t rate, const std::vector<int16_t>& samples,
                             std::vector<uint8_t>* storage) {
  storage->clear();
  for (int16_t s : samples) {
    storage->push_back(static_cast<uint8_t>(s & 0xFF));
    storage->push_back(static_cast<uint8_t>((static_cast<uint16_t>(s) >> 8) & 0xFF));
  }
  ilive::AudioFrame f;
  f.identifier = ilive::SdkString(user.c_str(), user.size());
  f.sampleRate = rate;
  f.dataSize = static_cast<uint32_t>(storage->size());
  f.data = storage->data();
  return f;
}

class BrisoraAudio : public BrisoraSession {
 protected:
  void send(int32_t kind, const std::string& user, const std::vector<int16_t>& samples, int n = 1,
            uint32_t rate = 48000) {
    std::vector<uint8_t> storage;
    const ilive::AudioFrame f = audioFrame(user, rate, samples, &storage);
    for (int i = 0; i < n; ++i) ASSERT_TRUE(standin::audioFrame(kind, f));
  }
  std::vector<uint8_t> fetch() {
    auto bytes = std::make_shared<air::ByteArray>();
    bytes->bytes.assign(7, 0xEE);  // whatever ActionScript left in it
    EXPECT_EQ(call("getAudioData", {bytes}), kNull);
    return bytes->bytes;
  }
  void captureLocal(const std::string& user) {
    login(user);
    call("registAudioDataCallback", {int32_t(20), true});
    call("registAudioDataCallback", {int32_t(2)});
    console();
  }
};

TEST_F(BrisoraAudio, DeviceOperationsAreRenumberedAndDetectionsReported) {
  call("createRoom", {1u, text("r"), text(""), false, false, false});
  console();
  const std::pair<int32_t, const char*> table[] = {{1, "1"}, {4, "4"}, {5, "0"}, {6, "0"}, {0, "0"}, {17, "0"},
                                                   {-1, "0"}, {7, "5"}, {12, "10"}, {16, "14"}};
  for (const auto& row : table) {
    ASSERT_TRUE(standin::deviceOperation(row.first, -2));
    EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"devices", std::string("operation||") + row.second + "||-2"}));
  }
  ASSERT_TRUE(standin::deviceDetect());
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"devices", "detect"}));
  EXPECT_EQ(console().size(), std::string("\nOnDeviceOperation").size() * 10);
}

TEST_F(BrisoraAudio, EverySixthFrameOfASpeakerRaisesItsLevel) {
  for (int32_t kind : {1, 2, 5}) EXPECT_EQ(call("registAudioDataCallback", {kind}), kTrue);
  EXPECT_THAT(sdkCalls(), ElementsAre("setAudioDataHandler(1, audioData, ptr)", "setAudioDataHandler(2, audioData, ptr)",
                                   "setAudioDataHandler(5, audioData, ptr)"));
  std::vector<int16_t> mean1000(480);
  for (size_t i = 0; i < mean1000.size(); ++i) mean1000[i] = static_cast<int16_t>(i % 2 ? 1000 : -1000);
  send(1, "u1", mean1000, 6);  // kinds other than 2 and 5 count nothing
  send(2, "u1", mean1000, 5);
  send(2, "u2", mean1000, 5);
  EXPECT_TRUE(events().empty());
  send(2, "u1", mean1000);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "2||u1||-36"}));
  send(5, "u3", std::vector<int16_t>(480, 0), 6);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "5||u3||-96"}));

  // A frame that names bytes it does not carry is read as silence.
  ilive::AudioFrame empty;
  empty.identifier = "u4";
  empty.sampleRate = 48000;
  empty.dataSize = 1920;
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(standin::audioFrame(2, empty));
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "2||u4||-96"}));
}

TEST_F(BrisoraAudio, LocalFrameBecomesOneSixteenKilohertzBlockUntilFetched) {
  standin::takeCalls();
  captureLocal("me");
  EXPECT_THAT(sdkCalls(), testing::Not(testing::Contains("setAudioDataHandler(20, audioData, ptr)")));
  // 960 samples (1920 bytes) at 48 kHz: 320 decimated values, of which 320
  // bytes are kept. With x[i] = -i each value is (-228k - 95) / 38 truncated
  // toward zero: -6k - 2.
  std::vector<int16_t> ramp(960);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(-static_cast<int>(i));
  send(2, "me", ramp);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audiodata", "me"}));
  send(2, "me", ramp);  // a block is waiting: no new one
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(call("getAudioData", {text("not an array")}), kNull);  // the block stays
  const std::vector<uint8_t> block = fetch();
  ASSERT_EQ(block.size(), 320u);
  for (size_t k = 0; k < 160; ++k)
    ASSERT_EQ(static_cast<int16_t>(block[2 * k] | (block[2 * k + 1] << 8)), -6 * static_cast<int>(k) - 2) << k;
  EXPECT_TRUE(fetch().empty());

  // 44.1 kHz expects 348 bytes, not 320; a rate of 2^31 expects 0 (and must
  // not divide by zero). Both frames are dropped with the line.
  send(2, "me", ramp, 1, 44100);
  send(2, "me", ramp, 1, 0x80000000u);
  EXPECT_EQ(console(), "\n AudioData BufLen Error : 320\n AudioData BufLen Error : 320");
  send(2, "other", ramp);
  call("registAudioDataCallback", {int32_t(20), false});
  send(2, "me", ramp);
  EXPECT_TRUE(fetch().empty());
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraAudio, HandlerOnSeveralThreadsCountsExactlyAndHandsOverWholeBlocks) {
  captureLocal("me");
  constexpr int kThreads = 4;
  constexpr int kFrames = 300;
  std::atomic<int> running{kThreads};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      std::vector<uint8_t> storage;
      const ilive::AudioFrame f = audioFrame("me", 48000, std::vector<int16_t>(960, 38), &storage);
      for (int i = 0; i < kFrames; ++i) standin::audioFrame(2, f, /*here=*/true);
      --running;
    });
  }
  int blocks = 0;
  for (bool last = false; !last;) {
    last = running.load() == 0;
    const std::vector<uint8_t> block = fetch();
    if (block.empty()) continue;
    ++blocks;
    ASSERT_EQ(block.size(), 320u);
    for (size_t k = 0; k < 160; ++k) ASSERT_EQ(block[2 * k], 38) << k;
  }
  for (auto& t : threads) t.join();
  int levels = 0;
  int announced = 0;
  for (const auto& e : events()) (e.code == "audioevent" ? levels : announced) += 1;
  EXPECT_EQ(levels, kThreads * kFrames / 6);
  EXPECT_EQ(announced, blocks);
}

}  // namespace
}  // namespace brisora_test
