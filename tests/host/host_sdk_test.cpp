// What a script hands the simulated SDKs and reads back from them: frames of
// chosen colours or from pictures, statistics and audio of chosen values,
// and the buffers the extension gave the SDK.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "host_run.h"

namespace {

using namespace host_test;

const fs::path kOut = fs::path(HOST_OUT_DIR) / "sdk";

// A PNG picture of 0xRRGGBB pixels, top row first.
void writePng(const fs::path& file, uint32_t width, uint32_t height, const std::vector<uint32_t>& rgb) {
  std::vector<uint8_t> bytes;
  for (uint32_t p : rgb) bytes.insert(bytes.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = PNG_FORMAT_RGB;
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(png_image_write_to_file(&image, file.string().c_str(), 0, bytes.data(), 0, nullptr));
}

// The picture's pixels as 0xRRGGBB, top row first.
std::vector<uint32_t> rgbOf(const fs::path& file) {
  Png png;
  if (!readPng(file, &png)) return {};
  std::vector<uint32_t> out;
  for (uint32_t y = 0; y < png.height; ++y)
    for (uint32_t x = 0; x < png.width; ++x) out.push_back(png.at(x, y) >> 8);
  return out;
}

const std::string kBrisoraRoom = kBrisoraInRoom +
                                 "sdk member 3 \"u1\"\n"
                                 "let f = bytes(0)\n";

const std::vector<uint32_t> kFourColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

TEST(HostSdkFrames, FramesOfAColourOrFromAPictureReachTheApplicationAsGiven) {
  writePng(kOut / "scripts" / "four.png", 2, 2, kFourColours);
  const HostRun run = runScript(kBrisoraRoom +
                                    "sdk frame remote \"u1\" 3x2 format=rgb24 color=FF8000\n"
                                    "call getVideoData f \"u1\" 1\n"
                                    "save f 3 2 orange.png\n"
                                    "sdk frame remote \"u1\" png=\"four.png\" format=rgb24\n"
                                    "call getVideoData f \"u1\" 1\n"
                                    "save f 2 2 four-rgb24.png\n"
                                    "sdk frame remote \"u1\" 2x2 yuv=16,128,128\n"
                                    "call getVideoData f \"u1\" 1\n"
                                    "save f 2 2 black.png\n",
                                "--out " + arg(kOut.string()), kOut / "scripts");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(rgbOf(kOut / "orange.png"), std::vector<uint32_t>(6, 0xFF8000));
  EXPECT_EQ(rgbOf(kOut / "four-rgb24.png"), kFourColours);
  EXPECT_EQ(rgbOf(kOut / "black.png"), std::vector<uint32_t>(4, 0x000000));

  const HostRun tamvex = runScript(
      "extension Tamvex\n"
      "call initTRTCSdk false\n"
      "call enterRoom 1400188888 12345 \"me\" \"sig\" \"\"\n"
      "call setLocalVideoRenderCallback 3 0 1\n"
      "sdk frame local png=\"four.png\"\n"
      "let f = bytes(0)\n"
      "call getVideoData f \"me\" 1\n"
      "save f 2 2 four-bgra.png\n"
      "sdk frame local png=\"four.png\" 2x3\n",
      "--out " + arg(kOut.string()), kOut / "scripts");
  EXPECT_EQ(rgbOf(kOut / "four-bgra.png"), kFourColours) << tamvex.out;
  // A picture of another size than the one written is refused.
  EXPECT_EQ(tamvex.status, 2) << tamvex.out;
  EXPECT_NE(tamvex.out.find("is 2x2, not 2x3"), std::string::npos) << tamvex.out;
}

// An event raised just after a call returned (a completion the SDK fires on
// its own thread), whichever step shows it, is there for the `wait event`
// that follows.
TEST(HostSdkFrames, WaitEventSeesAnEventThatArrivedSinceTheLastStep) {
  for (int i = 0; i < 5; ++i) {
    const HostRun run = runScript(
        "extension Brisora\n"
        "call initILiveSdk 1400012345 12345 0 0\n"
        "sdk auto-complete on\n"
        "call iLiveLogin \"me\" \"sig\" 2 \"\"\n"
        "wait event ilivelogin complete\n",
        "--timeout 1000");
    ASSERT_EQ(run.status, 0) << run.out;
  }
}

TEST(HostSdkFrames, StatisticsAndAudioCarryTheChosenValues) {
  const HostRun run = runScript(kBrisoraRoom +
                                    "sdk stats exeCpuRate=77 networkParams.rtt=123 videoDecodeParams.userId=\"a\",\"b\"\n"
                                    "call registAudioDataCallback 2 false\n"
                                    "call registAudioDataCallback 20 true\n"
                                    "sdk audio 2 \"me\" values=3800 size=1920\n"
                                    "let block = bytes(0)\n"
                                    "call getAudioData block\n"
                                    "expect size block 320\n"
                                    "save block block.raw\n",
                                "--out " + arg(kOut.string()));
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  // The quality report is the event's level.
  EXPECT_NE(run.out.find("exeCpuRate: 77\\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("rtt: 123\\n"), std::string::npos);
  EXPECT_NE(run.out.find("userId: b\\n"), std::string::npos);
  // A steady 3800 (0x0ED8) stays 3800 through the decimation filter.
  std::string expected;
  for (int i = 0; i < 160; ++i) expected += "\xD8\x0E";
  EXPECT_EQ(readFile(kOut / "block.raw"), expected);
}

TEST(HostSdkReceived, CustomDataAndExternalFramesAreShownCheckedAndSaved) {
  writePng(kOut / "scripts" / "four-received.png", 2, 2, kFourColours);
  const HostRun run = runScript(kBrisoraRoom +
                                    "call fillCustomData \"hello\" 1\n"
                                    "let sent = sdk bytes sendCustomData\n"
                                    "expect size sent 5\n"
                                    "save sent custom.bin\n"
                                    "sdk frame remote \"u1\" png=\"four-received.png\" format=rgb24\n"
                                    "call getVideoData f \"u1\" 1\n"
                                    "call fillExternalCaptureByteFrame f 2 2\n"
                                    "expect result true\n"
                                    "let shot = sdk picture fillExternalCaptureFrame\n"
                                    "expect size shot 2 2\n"
                                    "save shot byte-frame.png\n"
                                    "let raw = sdk bytes fillExternalCaptureFrame\n"
                                    "expect size raw 12\n",
                                "--out " + arg(kOut.string()), kOut / "scripts");
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("received sendCustomData ByteArray(5 bytes) 68 65 6C 6C 6F"), std::string::npos) << run.out;
  EXPECT_EQ(readFile(kOut / "custom.bin"), "hello");
  EXPECT_EQ(rgbOf(kOut / "byte-frame.png"), kFourColours);

  // Nothing handed over yet, or no frame in it: a failed expectation.
  const HostRun none = runScript("extension Brisora\nlet x = sdk bytes sendCustomData\n");
  EXPECT_EQ(none.status, 1) << none.out;
  EXPECT_NE(none.out.find("no sendCustomData buffer"), std::string::npos) << none.out;
  const HostRun notFrame =
      runScript("extension Brisora\ncall fillCustomData \"x\" 1\nlet x = sdk picture sendCustomData\n");
  EXPECT_EQ(notFrame.status, 1) << notFrame.out;
  const HostRun malformed = runScript("extension Brisora\nlet x = sdk frames sendCustomData\n");
  EXPECT_EQ(malformed.status, 2) << malformed.out;
}


TEST(HostWin32, CallsToWindowsAreShownAndExpectedInOrder) {
#ifdef _WIN32
  GTEST_SKIP() << "the Win32 stand-in records and hides; Windows itself does neither";
#endif
  const HostRun run = runScript(
      "extension Brisora\n"
      "call keepScreenOn true\n"
      "expect win32 SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, null, 0)\n"
      "expect win32 SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED)\n"
      "expect no win32\n"
      "call keepScreenOn false\n"
      "expect win32 SystemParametersInfoA\n"
      "expect win32 SetThreadExecutionState(ES_CONTINUOUS)\n"
      "call killProcess\n"
      "print \"never reached\"\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("    win32    SetThreadExecutionState(ES_CONTINUOUS|ES_SYSTEM_REQUIRED|ES_DISPLAY_REQUIRED)\n"
                         "    result   null\n"),
            std::string::npos)
      << run.out;
  // The process ends inside killProcess; its last Win32 call is still shown.
  EXPECT_NE(run.out.find("    win32    TerminateProcess(current, 0)\n    ended    the process ended itself with exit code 0 at line 9"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("never reached"), std::string::npos);

  const HostRun wrong = runScript("extension Brisora\ncall keepScreenOn true\nexpect win32 SetThreadExecutionState\n");
  EXPECT_EQ(wrong.status, 1) << wrong.out;
  EXPECT_NE(wrong.out.find("the next Win32 call was SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, null, 0)"),
            std::string::npos);
  const HostRun more = runScript("extension Brisora\ncall keepScreenOn true\nexpect no win32\n");
  EXPECT_EQ(more.status, 1) << more.out;
  const HostRun ignored = runScript(
      "extension Brisora\nignore win32 SystemParametersInfoA\ncall keepScreenOn true\n"
      "expect win32 SetThreadExecutionState\nexpect no win32\n");
  EXPECT_EQ(ignored.status, 0) << ignored.out;
  EXPECT_NE(ignored.out.find("    ignored  1 Win32 call(s)"), std::string::npos) << ignored.out;
}

TEST(HostWin32, ALibraryOrAnExportRemovedDuringTheRunIsMissedThenFoundAgain) {
#ifdef _WIN32
  GTEST_SKIP() << "the Win32 stand-in records and hides; Windows itself does neither";
#endif
  const HostRun run = runScript(
      "extension Tamvex\n"
      "library remove LiteAV/liteav.dll\n"
      "call getSdkVersion\n"
      "expect win32 GetDllDirectoryW(260) -> \"\"\n"
      "expect win32 SetDllDirectoryW(\"<exe>/LiteAV/\")\n"
      "expect win32 LoadLibraryW(\"liteav.dll\") -> null 126\n"
      "expect console contains \"liteav.dll\"\n"
      "expect no sdk\n"
      "library restore LiteAV/liteav.dll\n"
      "library remove LiteAV/liteav.dll getTRTCShareInstance\n"
      "call getSdkVersion\n"
      "expect win32 GetDllDirectoryW\n"
      "expect win32 SetDllDirectoryW\n"
      "expect win32 LoadLibraryW(\"liteav.dll\") -> \"<exe>/LiteAV/liteav.dll\"\n"
      "expect win32 GetProcAddress(\"<exe>/LiteAV/liteav.dll\", \"getTRTCShareInstance\") -> null 127\n"
      "expect win32 GetProcAddress(\"<exe>/LiteAV/liteav.dll\", \"destroyTRTCShareInstance\") -> found\n"
      "expect no sdk\n"
      "library restore LiteAV/liteav.dll getTRTCShareInstance\n"
      "call getSdkVersion\n"
      "expect sdk getTRTCShareInstance\n");
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  // Win32 calls stand where they were made among the console lines.
  EXPECT_NE(run.out.find("    win32    SetDllDirectoryW(\"<exe>/LiteAV/\")\n"
                         "    win32    LoadLibraryW(\"liteav.dll\") -> null 126\n"
                         "    console  \"\\xD4\\xD8\\xC8\\xEBliteav.dll"),
            std::string::npos)
      << run.out;
}

// anehost in a folder of its own, without LiteAV at first: once the library
// is there, `sdk` lines reach it.
TEST(HostWin32, TheSdkIsReachedOnceItsLibraryAppears) {
#ifdef _WIN32
  GTEST_SKIP() << "the copied host folder holds Linux libraries";
#endif
  const fs::path bin = fs::path(ANEHOST_PATH).parent_path();
  const fs::path dir = fs::path(HOST_OUT_DIR) / ("late-sdk-" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto& entry : fs::directory_iterator(bin))
    if (entry.is_regular_file() &&
        (entry.path().extension() == ".so" || entry.path().filename() == fs::path(ANEHOST_PATH).filename()))
      fs::copy_file(entry.path(), dir / entry.path().filename());
  fs::copy(bin / "extensions", dir / "extensions");
  const fs::path script = dir / "late.txt";
  std::ofstream(script) << "extension Tamvex\n"
                           "call getSdkVersion\n"
                           "expect result \"\"\n"
                           "wait 2500\n"  // the library is copied in meanwhile
                           "call getSdkVersion\n"
                           "expect sdk getTRTCShareInstance\n"
                           "sdk answer getSDKVersion text=\"late\"\n"
                           "call getSdkVersion\n"
                           "expect result \"late\"\n";
  std::thread copier([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    // Copied aside, then moved in at once: the host must never find it half written.
    fs::copy(bin / "LiteAV", dir / "LiteAV.partial");
    fs::rename(dir / "LiteAV.partial", dir / "LiteAV");
  });
  const HostRun run = runCommand(arg((dir / fs::path(ANEHOST_PATH).filename()).string()) + " " + arg(script.string()));
  copier.join();
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("    sdk      simulated by the LiteAV SDK stand-in"), std::string::npos) << run.out;
  fs::remove_all(dir);
}

}  // namespace

namespace {

// A frame or notification already on its way when the extension let go of
// the SDK (`late`) reaches the handler it had; the extension takes it without
// raising anything to the finalized context.
TEST(HostLate, CallbacksAfterTheFinalizerAreHandledSoundly) {
  const HostRun brisora = runScript(kBrisoraRoom +
                                    "expect event addvideo \"u1||1\"\n"
                                    "sdk frame remote \"u1\" 4x2\n"
                                    "expect event video \"u1||4||2||0||0||1\"\n"
                                    "finalize\n"  // releaseSdk completes at once: the SDK forgets its handlers
                                    "sdk late frame remote \"u1\" 4x2\n"
                                    "expect console \"ANE CTX Context Error\"\n"
                                    "sdk late member 4 \"u1\"\n"
                                    "sdk late stats\n"
                                    "sdk late disconnect 1 \"gone\"\n"
                                    "expect no event\n"
                                    "sdk frame remote \"u1\" 4x2\n");
  EXPECT_EQ(brisora.status, 2) << brisora.out;  // the last line: no handler any more
  EXPECT_NE(brisora.out.find("no remote-video handler is installed"), std::string::npos) << brisora.out;
  EXPECT_NE(brisora.out.find("runtime rule breaches: 0"), std::string::npos);
  EXPECT_EQ(brisora.out.find("events sent to a finalized context"), std::string::npos) << brisora.out;

  const HostRun tamvex = runScript(
      "extension Tamvex\n"
      "call initTRTCSdk false\n"
      "call enterRoom 1400188888 12345 \"me\" \"sig\" \"\"\n"
      "call setLocalVideoRenderCallback 3 0 1\n"
      "call setRemoteVideoRenderCallback \"u1\" 1 0 1\n"
      "sdk video-available \"u1\" 1\n"
      "sdk frame remote \"u1\" 4x2\n"
      "expect event mediaavailable\n"
      "expect event video\n"
      "finalize\n"
      "sdk late frame remote \"u1\" 4x2\n"
      "sdk late frame local 4x2\n"
      "sdk late error 3 \"late\"\n"
      "expect console contains \"errMsg=late\"\n"
      "sdk late video-available \"u2\" 1\n"
      "context\n"
      "sdk late frame remote \"u1\" 4x2\n"
      "expect no event\n"
      "sdk late room start\n");
  EXPECT_EQ(tamvex.status, 2) << tamvex.out;  // only frames and notifications come late
  EXPECT_NE(tamvex.out.find("room cannot come late"), std::string::npos) << tamvex.out;
  EXPECT_NE(tamvex.out.find("runtime rule breaches: 0"), std::string::npos);
  EXPECT_EQ(tamvex.out.find("events sent to a finalized context"), std::string::npos) << tamvex.out;
}

}  // namespace
