// What the Windows test run relies on from the platform it runs on (Wine or
// Windows): the ANSI code page that the run was set up for, 16-bit wide text,
// the "%I64d" conversion of the C runtime, and the folder of the executable.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

TEST(WindowsPlatform, AnsiCodePageIsTheOneTheRunAskedFor) {
  const char* expected = std::getenv("ANE_EXPECT_ACP");
  if (expected == nullptr) GTEST_SKIP() << "ANE_EXPECT_ACP not set";
  EXPECT_EQ(static_cast<UINT>(std::strtoul(expected, nullptr, 10)), GetACP());
}

TEST(WindowsPlatform, WideTextAndSixtyFourBitFormatting) {
  static_assert(sizeof(wchar_t) == 2, "wide text is UTF-16 code units on Windows");
  // Through a variable: the compiler checks literal formats by the GNU rules,
  // which do not know the Microsoft "I64" size.
  const char* format = "%I64d|%I64u";
  char buf[48];
  std::snprintf(buf, sizeof buf, format, static_cast<long long>(-9007199254740993LL),
                static_cast<unsigned long long>(18446744073709551615ULL));
  EXPECT_STREQ("-9007199254740993|18446744073709551615", buf);
}

TEST(WindowsPlatform, ExecutablePathNamesThisProgram) {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ASSERT_GT(n, 0u);
  ASSERT_LT(n, static_cast<DWORD>(MAX_PATH));
  const std::wstring p(path, n);
  EXPECT_NE(std::wstring::npos, p.rfind(L"\\windows_tests.exe")) << "backslash-separated path expected";
}

}  // namespace
