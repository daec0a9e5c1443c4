// Test controls of the Win32 stand-in (non-Windows builds only): choose the
// ANSI code page, read back what the process, power and module calls were
// asked, and remove a library or one of its exports for a while.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "windows.h"

namespace win32 {

// The code page that CP_ACP (and CP_OEMCP) stand for. 1252, Western Windows,
// until a test picks another (936 for a Chinese Windows).
void setAnsiCodePage(UINT codePage);

struct SystemParametersCall {
  UINT action;
  UINT uiParam;
  const void* pvParam;
  UINT winIni;
};

struct TerminateCall {
  HANDLE process;
  UINT exitCode;
};

// Calls recorded since the start or the last resetRecords(), oldest first.
std::vector<SystemParametersCall> systemParametersCalls();
std::vector<EXECUTION_STATE> executionStateCalls();
std::vector<TerminateCall> terminateCalls();
void resetRecords();

// The calls since the last take, oldest first, one line each, as the host
// tool's transcript shows them ("win32" lines):
//   GetDllDirectoryW(260) -> ""              (the folder set, or too small, N needed)
//   SetDllDirectoryW("<exe>/LiteAV/")         <exe>: the executable's folder
//   LoadLibraryW("liteav.dll") -> "<exe>/LiteAV/liteav.dll"   (or -> null 126)
//   GetProcAddress("<exe>/LiteAV/liteav.dll", "getTRTCShareInstance") -> found   (or -> null 127)
//   FreeLibrary("<exe>/LiteAV/liteav.dll")
//   SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, null, 0)
//   SetThreadExecutionState(ES_CONTINUOUS|ES_SYSTEM_REQUIRED|ES_DISPLAY_REQUIRED)
//   TerminateProcess(current, 0)
std::vector<std::string> takeCalls();
// Called (on the calling thread) right after each call is recorded; null: none.
void setCallListener(void (*listener)(void* data), void* data);

// While removed, LoadLibraryW finds no file at the path (absolute, or relative
// to the executable's folder), as if it were not there; with exportName,
// GetProcAddress finds no export of that name in a module loaded from the
// path. A module already loaded stays loaded.
void removeLibrary(const std::string& path, const std::string& exportName = "");
void restoreLibrary(const std::string& path, const std::string& exportName = "");
void restoreAllLibraries();

// Runs just before TerminateProcess ends the current process (with its exit
// code), so a host can write out what it still holds; none: an empty function.
void onTerminate(std::function<void(UINT exitCode)> hook);

// The folder the executable is in, as GetModuleFileNameW(null), LoadLibraryW's
// search and the <exe> of the call lines see it; "": the real one.
void setExecutableFolder(const std::string& folder);

// The screen-saver flag that SPI_SETSCREENSAVEACTIVE last set (TRUE at start).
BOOL screenSaverActive();
// The continuous execution state last set with ES_CONTINUOUS (ES_CONTINUOUS at start).
EXECUTION_STATE executionState();

}  // namespace win32
