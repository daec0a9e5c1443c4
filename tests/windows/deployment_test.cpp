// Tamvex finds LiteAV\liteav.dll beside the program through the real Win32
// calls (GetModuleFileNameW, PathRemoveFileSpecW, SetDllDirectoryW,
// LoadLibraryW). The program is copied into a folder whose name neither ANSI
// code page can write (Chinese and a Western letter), so any narrow-text step
// on the way to the SDK would lose it.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "air/host.h"

namespace {

namespace fs = std::filesystem;

fs::path programPath() {
  wchar_t path[32768];
  const DWORD n = GetModuleFileNameW(nullptr, path, 32768);
  return n > 0 && n < 32768 ? fs::path(std::wstring(path, n)) : fs::path();
}

// Runs a program with a wide command line; its exit code, or -1.
int run(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) return -1;
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

TEST(WindowsDeployment, TamvexLoadsLiteAVBesideAProgramInANonAsciiFolder) {
  const fs::path self = programPath();
  ASSERT_FALSE(self.empty());
  const fs::path bin = self.parent_path();
  const fs::path folder = bin / L"deploy \u8F7D\u5165 \u00DC";
  std::error_code ec;
  fs::remove_all(folder, ec);
  ASSERT_TRUE(fs::create_directories(folder / L"LiteAV"));
  fs::copy_file(self, folder / self.filename());
  for (const auto& entry : fs::directory_iterator(bin))
    if (entry.path().extension() == L".dll") fs::copy_file(entry.path(), folder / entry.path().filename());
  fs::copy_file(bin / L"LiteAV" / L"liteav.dll", folder / L"LiteAV" / L"liteav.dll");

  const std::wstring child = L"\"" + (folder / self.filename()).wstring() +
                             L"\" --gtest_also_run_disabled_tests"
                             L" --gtest_filter=WindowsDeployment.DISABLED_CopyLoadsLiteAVFromItsOwnFolder";
  EXPECT_EQ(0, run(child));
  // gtest also exits with 0 when its filter matches nothing: the copy leaves a mark.
  EXPECT_TRUE(fs::exists(folder / L"passed")) << "the copy did not run its test";
  fs::remove_all(folder, ec);
}

// Runs in the copy made above: Tamvex itself is loaded from the build folder,
// the SDK must come from the LiteAV folder beside this copy of the program.
TEST(WindowsDeployment, DISABLED_CopyLoadsLiteAVFromItsOwnFolder) {
  air::ConsoleCapture console;
  std::string error;
  auto extension = air::Extension::load(TAMVEX_LIBRARY, "ANEWinRTCExtInitializer", "ANEWinRTCExtFinalizer", &error);
  ASSERT_TRUE(extension) << error;
  auto context = extension->createContext();
  ASSERT_TRUE(context);
  // The first call that needs the SDK loads it.
  EXPECT_EQ(context->call("setLocalVideoRenderCallback", {int32_t{3}, int32_t{1}, int32_t{1}}), air::Value(true));
  const std::string text = console.text();
  EXPECT_NE(text.find("\nTamvex: --- LoadLibrary liteav.dll complate"), std::string::npos) << text;
  ASSERT_NE(HMODULE{nullptr}, GetModuleHandleW(L"liteav.dll"));
  wchar_t loaded[32768];
  const DWORD n = GetModuleFileNameW(GetModuleHandleW(L"liteav.dll"), loaded, 32768);
  const fs::path expected = programPath().parent_path() / L"LiteAV" / L"liteav.dll";
  EXPECT_EQ(expected.wstring(), std::wstring(loaded, n < 32768 ? n : 0));
  context.reset();
  if (!HasFailure()) std::ofstream(programPath().parent_path() / L"passed") << "ok";
}

}  // namespace
