// Tamvex when liteav.dll is missing, or lacks the shared-instance exports.
// These programs run from folders of their own (bin/variants/...): the
// extension looks for LiteAV beside the executable, so the full stand-in
// beside the extension library itself must not be found.
#include <cstdlib>
#include <fstream>

#include "tamvex_session.h"

namespace tamvex_test {
namespace {

// "\n" 载入 "liteav.dll" 失败 ": 126" and "\n" 载入函数 NAME 失败, in code page 936.
const std::string kLoadFailed = "\n\xD4\xD8\xC8\xEB" "liteav.dll" "\xCA\xA7\xB0\xDC" ": 126";
std::string lookUpFailed(const std::string& name) {
  return "\n\xD4\xD8\xC8\xEB\xBA\xAF\xCA\xFD" + name + "\xCA\xA7\xB0\xDC";
}

class TamvexMissing : public TamvexLoaded {
 protected:
  void SetUp() override {
    reportFailuresOnStderr();
    ASSERT_NO_FATAL_FAILURE(loadExtension());
  }
};

// Every SDK-using function answers a neutral value, nothing is called through
// a missing function, and each call tries the load again.
TEST_F(TamvexMissing, NeutralAnswersAndTheLoadIsRetried) {
  EXPECT_EQ(call("initTRTCSdk", {true}), air::Value(true));
  std::string text = console_->take();
#if defined(TAMVEX_NO_LIBRARY)
  EXPECT_NE(text.find(kLoadFailed), std::string::npos) << text;
#else
  EXPECT_EQ(text.find(kLoadFailed), std::string::npos) << text;
#endif
  EXPECT_NE(text.find(lookUpFailed("getTRTCShareInstance")), std::string::npos) << text;
  EXPECT_NE(text.find(lookUpFailed("destroyTRTCShareInstance")), std::string::npos) << text;
  EXPECT_EQ(text.find("complate"), std::string::npos) << text;
  EXPECT_NE(text.find("\nTamvex:TRTCSDK Version : - \nTamvex:initTRTCSdk Mode: - debug"), std::string::npos)
      << text;

  EXPECT_EQ(call("setLocalVideoRenderCallback", {1, 1, 1}), air::Value(false));
  EXPECT_EQ(call("setRemoteVideoRenderCallback", {S("u1"), 1, 1, 1}), air::Value(false));
  EXPECT_EQ(count(console_->take(), lookUpFailed("getTRTCShareInstance")), 2);

  EXPECT_EQ(call("dispose"), air::Value(true));
  EXPECT_EQ(call("dispose"), air::Value(true));
  // The pool still works without an SDK.
  EXPECT_EQ(call("getVideoData", {std::make_shared<air::ByteArray>(), S("u1"), 1}), air::Value(air::Null{}));
  context_.reset();
  EXPECT_EQ(count(console_->take(), "\n ANEVideoRander Remove:"), 18);
}

#if !defined(_WIN32)

}  // namespace
}  // namespace tamvex_test

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace tamvex_test {
namespace {

std::string executablePath() {
  char path[PATH_MAX] = {0};
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return std::string(path, n > 0 ? size_t(n) : 0);
}

// An executable whose folder cannot take "\LiteAV\" within 260 UTF-16 units:
// the loader refuses it instead of writing past its buffer. This scenario
// copies the program into such a folder and runs the Deep scenario there.
TEST_F(TamvexMissing, FolderTooLongForThePathBufferIsRefused) {
  std::string folder = ::testing::TempDir() + "tamvex-deep-" + std::to_string(getpid());
  while (folder.size() < 255) folder += "/dddddddddddddddddddddddddddddd";
  folder.resize(255);
  while (folder.back() == '/') folder.pop_back();
  ASSERT_EQ(std::system(("mkdir -p '" + folder + "'").c_str()), 0);
  const std::string copy = folder + "/t";  // the executable's path fits in 260, its folder plus \LiteAV\ does not
  {
    std::ifstream in(executablePath(), std::ios::binary);
    std::ofstream out(copy, std::ios::binary);
    out << in.rdbuf();
  }
  ASSERT_EQ(chmod(copy.c_str(), 0755), 0);
  const std::string command =
      "TAMVEX_DEEP=1 TAMVEX_LIBRARY_PATH='" + tamvexLibrary() + "' '" + copy + "' --gtest_filter=TamvexMissing.Deep > '" + folder + "/log' 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream log(folder + "/log");
  std::string output((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
  std::system(("rm -rf '" + ::testing::TempDir() + "tamvex-deep-" + std::to_string(getpid()) + "'").c_str());
}

TEST_F(TamvexMissing, Deep) {
  if (!std::getenv("TAMVEX_DEEP")) GTEST_SKIP() << "run by FolderTooLongForThePathBufferIsRefused";
  EXPECT_EQ(call("initTRTCSdk", {false}), air::Value(true));
  const std::string text = console_->take();
  EXPECT_NE(text.find("\nTamvex:---LiteAV folder path too long"), std::string::npos) << text;
  EXPECT_EQ(text.find("liteav.dll"), std::string::npos) << text;
  EXPECT_EQ(call("setLocalVideoRenderCallback", {1, 1, 1}), air::Value(false));
}

#endif  // !_WIN32

}  // namespace
}  // namespace tamvex_test
