// The ANSI code page in tests that depend on it.
//
// On the Linux build the Win32 stand-in switches CP_ACP on request. On Windows
// (and under Wine) the ANSI code page is the system's, fixed for the whole run
// by the locale the run was started in; the Windows test run goes through the
// suite once with 1252 and once with 936, so each such check runs in one of them.
#pragma once

#ifdef _WIN32
// GetACP alone, as <windows.h> declares it: that header's macros (near, far,
// min, max) would otherwise reach every test that includes this one.
extern "C" __declspec(dllimport) unsigned int __stdcall GetACP(void);
#else
#include "win32_standin.h"
#endif

namespace ane_test {

// Makes CP_ACP stand for codePage where that can be chosen; answers whether
// CP_ACP now is codePage. Wrap checks that need it: if (useAnsiCodePage(936)) {...}
inline bool useAnsiCodePage(unsigned codePage) {
#ifdef _WIN32
  return GetACP() == codePage;
#else
  win32::setAnsiCodePage(codePage);
  return true;
#endif
}

}  // namespace ane_test
