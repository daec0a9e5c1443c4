// Running the host tool as a program in tests: a script file or text, its
// transcript, exit status and standard error, and the PNG pictures it saves.
#pragma once

#include <gtest/gtest.h>
#include <png.h>

#ifdef _WIN32
#include <process.h>
#define popen _popen
#define pclose _pclose
#define getpid _getpid
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace host_test {

namespace fs = std::filesystem;

struct HostRun {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A path or word as one argument of the shell that popen runs.
inline std::string arg(const std::string& text) {
#ifdef _WIN32
  return "\"" + fs::path(text).make_preferred().string() + "\"";
#else
  return "'" + text + "'";
#endif
}

inline int exitStatus(int raw) {
#ifdef _WIN32
  return raw;
#else
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

// Runs a command line; standard output is kept, the exit status read.
inline HostRun runCommand(const std::string& command) {
  HostRun run;
#ifdef _WIN32
  // cmd /c drops the first and the last quote of its command line when it
  // starts with one: one more pair keeps the quoted arguments whole.
  FILE* pipe = popen(("\"" + command + "\"").c_str(), "r");
#else
  FILE* pipe = popen(command.c_str(), "r");
#endif
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  run.status = exitStatus(pclose(pipe));
  return run;
}

// Runs anehost on a script file with the given options.
inline HostRun runFile(const fs::path& script, const std::string& options = "") {
  static int counter = 0;
  const fs::path dir = fs::path(HOST_OUT_DIR) / "runs";
  fs::create_directories(dir);
  const fs::path err = dir / ("stderr-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  HostRun run = runCommand(arg(ANEHOST_PATH) + " " + options + " " + arg(script.string()) + " 2>" + arg(err.string()));
  run.err = readFile(err);
  return run;
}

// Runs a script given as text; it sits in `folder` (by default beside the
// test extension's descriptor).
inline HostRun runScript(const std::string& text, const std::string& options = "",
                         const fs::path& folder = fs::path(HOST_OUT_DIR) / "scripts") {
  static int counter = 0;
  const fs::path file = folder / ("script-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".txt");
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << text;
  return runFile(file, options);
}

// A script the host refuses as a script error: exit status 2, and `seen` in
// what it says on standard error.
inline void expectRefused(const std::string& script, const std::string& seen) {
  const HostRun r = runScript(script);
  EXPECT_EQ(r.status, 2) << script << "\n" << r.out << r.err;
  EXPECT_NE(r.err.find(seen), std::string::npos) << script << "\n" << r.err;
}

// A Brisora session logged in and in a room (24-bit frames), every SDK
// operation answered at once.
inline const std::string kBrisoraInRoom =
    "extension Brisora\n"
    "call initILiveSdk 1400012345 12345 0 0\n"
    "sdk auto-complete on\n"
    "call iLiveLogin \"me\" \"sig\" 2 \"\"\n"
    "expect event ilivelogin complete\n"
    "call createRoom 880001u \"me\" \"\" false true true\n"
    "expect event createroom complete\n";

inline const std::string kEcho = "extension \"" HOST_SCRIPTS_DIR "/echo.xml\"\n";

struct Png {
  uint32_t width = 0, height = 0;
  std::vector<uint8_t> rgba;
  uint32_t at(uint32_t x, uint32_t y) const {  // 0xRRGGBBAA
    const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
  }
};

inline bool readPng(const fs::path& path, Png* out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.string().c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  out->width = image.width;
  out->height = image.height;
  out->rgba.resize(PNG_IMAGE_SIZE(image));
  return png_image_finish_read(&image, nullptr, out->rgba.data(), 0, nullptr) != 0;
}

}  // namespace host_test
