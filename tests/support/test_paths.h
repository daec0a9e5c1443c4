// Where the running test program lives, on Linux and on Windows (Wine).
#pragma once

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace ane_test {

// The full path of the running program ("" when it cannot be read).
inline std::string executablePath() {
#ifdef _WIN32
  char path[MAX_PATH * 4] = {0};
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, n < sizeof path ? n : 0);
#else
  char path[PATH_MAX] = {0};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return std::string(path, n > 0 ? static_cast<size_t>(n) : 0);
#endif
}

// The folder of the running program, without a trailing separator.
inline std::string executableFolder() {
  const std::string p = executablePath();
  const size_t sep = p.find_last_of("/\\");
  return sep == std::string::npos ? std::string() : p.substr(0, sep);
}

}  // namespace ane_test
