#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "shlwapi.h"
#include "win32_standin.h"
#include "windows.h"

namespace {

std::wstring widen(const std::string& s) {
  std::wstring w(s.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], static_cast<int>(w.size()));
  w.resize(n > 0 ? n - 1 : 0);
  return w;
}

std::string exePath() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring removeFileSpec(std::wstring path, BOOL* result = nullptr) {
  path.push_back(0);
  const BOOL r = PathRemoveFileSpecW(&path[0]);
  if (result) *result = r;
  return path.c_str();
}

TEST(Win32Module, ModuleFileNameIsTheRunningExecutable) {
  wchar_t buf[4096];
  const DWORD n = GetModuleFileNameW(nullptr, buf, 4096);
  EXPECT_EQ(widen(exePath()), std::wstring(buf, n));
  // Too small a buffer: cut, zero-ended, the size returned and the error set.
  wchar_t small[5] = {1, 1, 1, 1, 1};
  EXPECT_EQ(5u, GetModuleFileNameW(nullptr, small, 5));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ(0, small[4]);
}

TEST(Win32Module, RemoveFileSpecKeepsTheFolder) {
  BOOL r = FALSE;
  EXPECT_EQ(L"C:\\app\\bin", removeFileSpec(L"C:\\app\\bin\\host.exe", &r));
  EXPECT_TRUE(r);
  EXPECT_EQ(L"/opt/app", removeFileSpec(L"/opt/app/host"));
  EXPECT_EQ(L"C:\\", removeFileSpec(L"C:\\host.exe"));
  EXPECT_EQ(L"/", removeFileSpec(L"/host"));
  EXPECT_EQ(L"", removeFileSpec(L"host.exe"));
  EXPECT_EQ(L"C:\\", removeFileSpec(L"C:\\", &r));
  EXPECT_FALSE(r);
  EXPECT_FALSE(PathRemoveFileSpecW(nullptr));
}

TEST(Win32Module, LoadLibraryFindsTheDllDirectoryAndResolvesSymbols) {
  std::string folder = exePath();
  folder.resize(folder.find_last_of('/'));
  SetLastError(0);
  EXPECT_EQ(nullptr, LoadLibraryW(L"probe.dll"));
  EXPECT_EQ(ERROR_MOD_NOT_FOUND, GetLastError());

  ASSERT_TRUE(SetDllDirectoryW(widen(folder + "/Win32Probe").c_str()));
  HMODULE module = LoadLibraryW(L"probe.dll");
  ASSERT_NE(nullptr, module);
  // Through void(*)(): the generic function pointer type, so no cast warning.
  auto probe = reinterpret_cast<int (*)()>(reinterpret_cast<void (*)()>(GetProcAddress(module, "probeValue")));
  ASSERT_NE(nullptr, probe);
  EXPECT_EQ(42, probe());
  EXPECT_EQ(nullptr, GetProcAddress(module, "noSuchFunction"));
  EXPECT_EQ(ERROR_PROC_NOT_FOUND, GetLastError());
  wchar_t buf[4096];
  const std::wstring name(buf, GetModuleFileNameW(module, buf, 4096));
  EXPECT_EQ(L"Win32Probe/probe.dll", name.substr(name.size() - 20));
  EXPECT_TRUE(FreeLibrary(module));
  SetDllDirectoryW(nullptr);

  // A relative path is looked for beside the executable.
  module = LoadLibraryW(L"Win32Probe\\probe.dll");
  ASSERT_NE(nullptr, module);
  FreeLibrary(module);

  // A Windows-style absolute path with backslashes.
  std::string backslashed = folder + "/Win32Probe/probe.dll";
  for (char& c : backslashed)
    if (c == '/') c = '\\';
  module = LoadLibraryW(widen(backslashed).c_str());
  ASSERT_NE(nullptr, module);
  FreeLibrary(module);
  EXPECT_EQ(nullptr, GetProcAddress(nullptr, "probeValue"));
  EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
}

TEST(Win32Process, PowerCallsAreRecordedAndGiveThePreviousState) {
  win32::resetRecords();
  EXPECT_EQ(ES_CONTINUOUS, SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED));
  EXPECT_EQ(0x80000003u, SetThreadExecutionState(ES_CONTINUOUS));
  EXPECT_EQ((std::vector<EXECUTION_STATE>{0x80000003u, 0x80000000u}), win32::executionStateCalls());
  EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0));
  EXPECT_FALSE(win32::screenSaverActive());
  ASSERT_EQ(1u, win32::systemParametersCalls().size());
}

TEST(Win32Process, TerminateEndsOnlyTheCurrentProcessWithItsCode) {
  win32::resetRecords();
  HANDLE other = reinterpret_cast<HANDLE>(static_cast<intptr_t>(1234));
  EXPECT_FALSE(TerminateProcess(other, 5));
  EXPECT_EQ(1u, win32::terminateCalls().size());
  EXPECT_EQ(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)), GetCurrentProcess());
  EXPECT_EXIT(
      {
        std::printf("\nlast words");
        TerminateProcess(GetCurrentProcess(), 3);
      },
      ::testing::ExitedWithCode(3), "");
}

}  // namespace

namespace {

// GetDllDirectoryW as Windows answers it: the length without the zero when
// the buffer holds the folder, the size needed with the zero otherwise, and
// 0 with an empty text when no folder is set.
TEST(Win32Module, DllDirectoryReadsBackWhatWasSetAndNoneAsEmpty) {
  win32::takeCalls();
  ASSERT_TRUE(SetDllDirectoryW(L"C:\\Host\\Plugins\\"));
  wchar_t buf[64];
  EXPECT_EQ(16u, GetDllDirectoryW(64, buf));
  EXPECT_EQ(std::wstring(L"C:\\Host\\Plugins\\"), buf);  // as given, separators and all

  wchar_t small[16];
  small[0] = L'x';
  EXPECT_EQ(17u, GetDllDirectoryW(16, small));  // one short of the zero
  EXPECT_EQ(0, small[0]);
  EXPECT_EQ(17u, GetDllDirectoryW(0, nullptr));

  ASSERT_TRUE(SetDllDirectoryW(nullptr));
  buf[0] = L'x';
  EXPECT_EQ(0u, GetDllDirectoryW(64, buf));
  EXPECT_EQ(0, buf[0]);
  EXPECT_EQ(0u, GetDllDirectoryW(0, nullptr));

  EXPECT_EQ(win32::takeCalls(),
            (std::vector<std::string>{"SetDllDirectoryW(\"C:/Host/Plugins/\")",
                                      "GetDllDirectoryW(64) -> \"C:/Host/Plugins/\"",
                                      "GetDllDirectoryW(16) -> too small, 17 needed",
                                      "GetDllDirectoryW(0) -> too small, 17 needed", "SetDllDirectoryW(null)",
                                      "GetDllDirectoryW(64) -> \"\"", "GetDllDirectoryW(0) -> \"\""}));
}

}  // namespace
