// Test controls of the Win32 stand-in (non-Windows builds only): choose the
// ANSI code page and read back what the process and power calls were asked.
#pragma once

#include <cstdint>
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

// The screen-saver flag that SPI_SETSCREENSAVEACTIVE last set (TRUE at start).
BOOL screenSaverActive();
// The continuous execution state last set with ES_CONTINUOUS (ES_CONTINUOUS at start).
EXECUTION_STATE executionState();

}  // namespace win32
