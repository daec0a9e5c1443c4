// Audio data and device notices: "devices", "audioevent", "audiodata" and
// getAudioData, including handlers running on several SDK threads at once.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "brisora_b_fixture.h"

namespace brisora_b_test {
namespace {

using ::testing::ElementsAre;
namespace standin = ilive::standin;

// An audio frame of 16-bit little-endian samples; the samples live in *storage.
ilive::AudioFrame audioFrame(const std::string& user, uint32_t rate, const std::vector<int16_t>& samples,
                             std::vector<uint8_t>* storage) {
  storage->resize(samples.size() * 2);
  for (size_t i = 0; i < samples.size(); ++i) {
    (*storage)[2 * i] = static_cast<uint8_t>(samples[i] & 0xFF);
    (*storage)[2 * i + 1] = static_cast<uint8_t>((static_cast<uint16_t>(samples[i]) >> 8) & 0xFF);
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
  // Sends n frames of user at 48 kHz with the given samples, as source kind k.
  void send(int32_t kind, const std::string& user, const std::vector<int16_t>& samples, int n = 1,
            uint32_t rate = 48000) {
    std::vector<uint8_t> storage;
    const ilive::AudioFrame f = audioFrame(user, rate, samples, &storage);
    for (int i = 0; i < n; ++i) ASSERT_TRUE(standin::audioFrame(kind, f));
  }
  std::shared_ptr<air::ByteArray> fetch() {
    auto bytes = std::make_shared<air::ByteArray>();
    bytes->bytes.assign(7, 0xEE);  // whatever ActionScript left in it
    EXPECT_TRUE(isNull(call("getAudioData", {bytes})));
    return bytes;
  }
};

TEST_F(BrisoraAudio, DeviceOperationsAreRenumberedAndDetectionsReported) {
  call("createRoom", {1u, std::string("r"), std::string(), false, false, false});
  consoleText();
  const int32_t codes[] = {1, 2, 3, 4, 5, 6, 0, 17, -1, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const char* numbers[] = {"1", "2", "3", "4", "0", "0", "0", "0", "0", "5", "6", "7", "8", "9", "10", "11", "12",
                           "13", "14"};
  std::string expectedConsole;
  for (size_t i = 0; i < sizeof(codes) / sizeof(codes[0]); ++i) {
    ASSERT_TRUE(standin::deviceOperation(codes[i], -2));
    EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"devices", std::string("operation||") + numbers[i] + "||-2"}))
        << codes[i];
    expectedConsole += "\nOnDeviceOperation";
  }
  ASSERT_TRUE(standin::deviceOperation(7, 0));
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"devices", "operation||5||0"}));
  ASSERT_TRUE(standin::deviceDetect());
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"devices", "detect"}));
  EXPECT_EQ(consoleText(), expectedConsole + "\nOnDeviceOperation");
}

TEST_F(BrisoraAudio, EverySixthFrameOfASpeakerRaisesItsLevel) {
  for (int32_t kind : {1, 2, 3, 4, 5}) EXPECT_TRUE(isTrue(call("registAudioDataCallback", {kind})));
  EXPECT_THAT(calls(), ElementsAre("setAudioDataHandler(1, audioData, ptr)", "setAudioDataHandler(2, audioData, ptr)",
                                   "setAudioDataHandler(3, audioData, ptr)", "setAudioDataHandler(4, audioData, ptr)",
                                   "setAudioDataHandler(5, audioData, ptr)"));
  const std::vector<int16_t> loud(480, 1000);
  std::vector<int16_t> mixed(480);
  for (size_t i = 0; i < mixed.size(); ++i) mixed[i] = static_cast<int16_t>(i % 2 ? 1000 : -1000);
  const std::vector<int16_t> silent(480, 0);

  // Kinds other than 2 and 5 count nothing.
  for (int32_t kind : {1, 3, 4}) send(kind, "u1", loud, 6);
  send(2, "u1", mixed, 5);
  send(2, "u2", loud, 5);
  EXPECT_TRUE(events().empty());
  send(2, "u1", mixed, 1);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "2||u1||-36"}));

  send(5, "u3", silent, 6);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "5||u3||-96"}));
  // u2 had five frames: its sixth, of kind 5, completes the count.
  send(5, "u2", std::vector<int16_t>(480, -32768), 1);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "5||u2||-6"}));
  send(2, "u1", loud, 6);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "2||u1||-36"}));
}

TEST_F(BrisoraAudio, FrameWithoutWholeSamplesHasTheSilenceLevel) {
  call("registAudioDataCallback", {int32_t(2)});
  std::vector<uint8_t> odd = {0xFF};
  ilive::AudioFrame f;
  f.identifier = "u1";
  f.sampleRate = 48000;
  f.dataSize = 1;
  f.data = odd.data();
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(standin::audioFrame(2, f));
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audioevent", "2||u1||-96"}));
}

TEST_F(BrisoraAudio, LocalFrameBecomesOneSixteenKilohertzBlock) {
  login("me");
  EXPECT_TRUE(isTrue(call("registAudioDataCallback", {int32_t(20), true})));
  EXPECT_TRUE(callsOf("setAudioDataHandler").empty());  // kind 20 never reaches the SDK
  call("registAudioDataCallback", {int32_t(2)});
  consoleText();

  // 960 samples (1920 bytes) at 48 kHz: 320 decimated values, 320 bytes kept.
  // With x[i] = -i each value is (-228k - 95) / 38, truncated toward zero: -6k - 2.
  std::vector<int16_t> ramp(960);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(-static_cast<int>(i));
  send(2, "me", ramp);
  EXPECT_THAT(waitEvents(1), ElementsAre(air::Event{"audiodata", "me"}));

  // While a block waits, local frames make no new one (but still count levels).
  send(2, "me", ramp, 4);
  EXPECT_TRUE(events().empty());

  auto bytes = fetch();
  ASSERT_EQ(bytes->bytes.size(), 320u);
  for (size_t k = 0; k < 160; ++k) {
    const int16_t expected = static_cast<int16_t>(-6 * static_cast<int>(k) - 2);
    const int16_t got = static_cast<int16_t>(bytes->bytes[2 * k] | (bytes->bytes[2 * k + 1] << 8));
    ASSERT_EQ(got, expected) << k;
  }
  EXPECT_TRUE(fetch()->bytes.empty());  // nothing pending: an empty array

  send(2, "me", ramp);  // the sixth frame of "me": a level and a new block
  const auto e = waitEvents(2);
  EXPECT_EQ(e.size(), 2u);
  EXPECT_EQ(fetch()->bytes.size(), 320u);

  // At 44.1 kHz 16 kHz means 348, not 320: the frame is dropped with a line.
  send(2, "me", ramp, 1, 44100);
  EXPECT_EQ(consoleText(), "\n AudioData BufLen Error : 320");
  // Another user's audio, and local audio once capture is off, make no block.
  send(2, "other", ramp);
  call("registAudioDataCallback", {int32_t(20), false});
  send(2, "me", ramp);
  EXPECT_TRUE(fetch()->bytes.empty());
  EXPECT_TRUE(events().empty());
}

TEST_F(BrisoraAudio, ABlockIsKeptUntilAByteArrayTakesIt) {
  login("me");
  call("registAudioDataCallback", {int32_t(20), true});
  call("registAudioDataCallback", {int32_t(2)});
  send(2, "me", std::vector<int16_t>(960, 38));
  waitEvents(1);
  EXPECT_TRUE(isNull(call("getAudioData")));
  EXPECT_TRUE(isNull(call("getAudioData", {std::string("not an array")})));
  EXPECT_EQ(fetch()->bytes.size(), 320u);
}

TEST_F(BrisoraAudio, RegistrationThatThrowsAnswersFalse) {
  standin::setAnswer("setAudioDataHandler", throws());
  EXPECT_TRUE(isFalse(call("registAudioDataCallback", {int32_t(2)})));
  traceOn();
  consoleText();
  EXPECT_TRUE(isTrue(call("registAudioDataCallback", {int32_t(20), true})));
  EXPECT_EQ(consoleText(), "\nBrisora:registAudioDataCallback==20\n");
}

// Several SDK threads deliver at once: levels are counted exactly, and the
// main thread fetching blocks meanwhile always gets a whole one.
TEST_F(BrisoraAudio, HandlersOnSeveralThreadsCountExactlyAndHandOverWholeBlocks) {
  login("me");
  call("registAudioDataCallback", {int32_t(20), true});
  call("registAudioDataCallback", {int32_t(2)});
  std::vector<int16_t> samples(960, 38);
  constexpr int kThreads = 4;
  constexpr int kFrames = 300;
  std::atomic<int> running{kThreads};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      std::vector<uint8_t> storage;
      const ilive::AudioFrame f = audioFrame("me", 48000, samples, &storage);
      for (int i = 0; i < kFrames; ++i) standin::audioFrame(2, f, /*here=*/true);
      --running;
    });
  }
  int blocks = 0;
  while (running.load() > 0) {
    auto bytes = fetch();
    if (bytes->bytes.empty()) continue;
    ++blocks;
    ASSERT_EQ(bytes->bytes.size(), 320u);
    for (size_t k = 0; k < 160; ++k) ASSERT_EQ(bytes->bytes[2 * k], 38) << k;
  }
  for (auto& t : threads) t.join();
  if (!fetch()->bytes.empty()) ++blocks;

  int levels = 0;
  int announced = 0;
  for (const auto& e : events()) {
    if (e.code == "audioevent") ++levels;
    if (e.code == "audiodata") ++announced;
  }
  EXPECT_EQ(levels, kThreads * kFrames / 6);
  EXPECT_EQ(announced, blocks);
}

}  // namespace
}  // namespace brisora_b_test
