// The process and power calls: GetCurrentProcess, TerminateProcess,
// SystemParametersInfoA and SetThreadExecutionState. Each call is recorded so
// that tests can read back what it was asked; TerminateProcess on the current
// process really ends it.
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "call_log.h"
#include "win32_standin.h"
#include "windows.h"

namespace {

// Everything below is guarded by g_mutex.
std::mutex g_mutex;
std::vector<win32::SystemParametersCall> g_systemParameters;
std::vector<EXECUTION_STATE> g_executionStates;
std::vector<win32::TerminateCall> g_terminates;
BOOL g_screenSaverActive = TRUE;
UINT g_screenSaverTimeout = 600;
EXECUTION_STATE g_executionState = ES_CONTINUOUS;
std::function<void(UINT)> g_terminateHook;

HANDLE currentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

std::string actionName(UINT action) {
  switch (action) {
    case SPI_GETSCREENSAVEACTIVE: return "SPI_GETSCREENSAVEACTIVE";
    case SPI_SETSCREENSAVEACTIVE: return "SPI_SETSCREENSAVEACTIVE";
    case SPI_GETSCREENSAVETIMEOUT: return "SPI_GETSCREENSAVETIMEOUT";
    case SPI_SETSCREENSAVETIMEOUT: return "SPI_SETSCREENSAVETIMEOUT";
    default: return std::to_string(action);
  }
}

// The flags by name, joined with '|'; bits without a name in hexadecimal.
std::string stateText(EXECUTION_STATE flags) {
  static const std::pair<EXECUTION_STATE, const char*> names[] = {{ES_CONTINUOUS, "ES_CONTINUOUS"},
                                                                  {ES_SYSTEM_REQUIRED, "ES_SYSTEM_REQUIRED"},
                                                                  {ES_DISPLAY_REQUIRED, "ES_DISPLAY_REQUIRED"},
                                                                  {ES_USER_PRESENT, "ES_USER_PRESENT"},
                                                                  {ES_AWAYMODE_REQUIRED, "ES_AWAYMODE_REQUIRED"}};
  std::string text;
  for (const auto& [bit, name] : names) {
    if (!(flags & bit)) continue;
    text += (text.empty() ? "" : "|") + std::string(name);
    flags &= ~bit;
  }
  if (flags || text.empty()) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%X", static_cast<unsigned>(flags));
    text += (text.empty() ? "" : "|") + std::string(hex);
  }
  return text;
}

}  // namespace

namespace win32 {

std::vector<SystemParametersCall> systemParametersCalls() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_systemParameters;
}

std::vector<EXECUTION_STATE> executionStateCalls() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_executionStates;
}

std::vector<TerminateCall> terminateCalls() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_terminates;
}

void resetRecords() {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_systemParameters.clear();
  g_executionStates.clear();
  g_terminates.clear();
  g_screenSaverActive = TRUE;
  g_screenSaverTimeout = 600;
  g_executionState = ES_CONTINUOUS;
}

void onTerminate(std::function<void(UINT)> hook) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_terminateHook = std::move(hook);
}

BOOL screenSaverActive() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_screenSaverActive;
}

EXECUTION_STATE executionState() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_executionState;
}

}  // namespace win32

extern "C" {

HANDLE WINAPI GetCurrentProcess(void) { return currentProcess(); }

BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode) {
  win32_standin::logCall(std::string("TerminateProcess(") + (process == currentProcess() ? "current" : "other") +
                         ", " + std::to_string(exitCode) + ")");
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_terminates.push_back({process, exitCode});
  }
  if (process != currentProcess()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::function<void(UINT)> hook;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    hook = g_terminateHook;
  }
  if (hook) hook(exitCode);
  // Console lines already printed reach their reader; nothing else runs.
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(static_cast<int>(exitCode));
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni) {
  win32_standin::logCall("SystemParametersInfoA(" + actionName(action) + ", " + std::to_string(uiParam) + ", " +
                         (pvParam ? "ptr" : "null") + ", " + std::to_string(winIni) + ")");
  std::lock_guard<std::mutex> lock(g_mutex);
  g_systemParameters.push_back({action, uiParam, pvParam, winIni});
  switch (action) {
    case SPI_GETSCREENSAVEACTIVE:
      if (!pvParam) break;
      *static_cast<BOOL*>(pvParam) = g_screenSaverActive;
      return TRUE;
    case SPI_SETSCREENSAVEACTIVE:
      g_screenSaverActive = uiParam ? TRUE : FALSE;
      return TRUE;
    case SPI_GETSCREENSAVETIMEOUT:
      if (!pvParam) break;
      *static_cast<UINT*>(pvParam) = g_screenSaverTimeout;
      return TRUE;
    case SPI_SETSCREENSAVETIMEOUT:
      g_screenSaverTimeout = uiParam;
      return TRUE;
    default:
      return TRUE;  // other actions are only recorded
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

EXECUTION_STATE WINAPI SetThreadExecutionState(EXECUTION_STATE flags) {
  win32_standin::logCall("SetThreadExecutionState(" + stateText(flags) + ")");
  std::lock_guard<std::mutex> lock(g_mutex);
  g_executionStates.push_back(flags);
  const EXECUTION_STATE previous = g_executionState;
  if (flags & ES_CONTINUOUS) g_executionState = flags;
  return previous;
}

}  // extern "C"
