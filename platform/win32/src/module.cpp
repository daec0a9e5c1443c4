// Modules and the last-error word: GetModuleFileNameW, SetDllDirectoryW,
// GetDllDirectoryW, LoadLibraryW, GetProcAddress, FreeLibrary, GetLastError, SetLastError and
// PathRemoveFileSpecW, over dlopen and /proc/self/exe.
//
// Paths come in with '\' or '/' separators; file calls map '\' to '/'. Wide
// paths hold UTF-16 code units (see codepage.cpp) and file names are UTF-8.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "call_log.h"
#include "shlwapi.h"
#include "windows.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

std::mutex g_dllDirectoryMutex;
std::string g_dllDirectory;  // UTF-8, '/' separators; guarded by g_dllDirectoryMutex
// The folder exactly as SetDllDirectoryW was given it, for GetDllDirectoryW;
// empty when none is set. Guarded by g_dllDirectoryMutex.
std::basic_string<WCHAR> g_dllDirectoryAsGiven;

std::string wideToUtf8(LPCWSTR wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::wstring utf8ToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

std::string slashes(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

std::string realExecutablePath() {
  std::vector<char> buf(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buf.size()) return std::string(buf.data(), static_cast<size_t>(n));
    buf.resize(buf.size() * 2);
  }
}

// The executable's file in the folder it is in (win32::setExecutableFolder).
std::string executablePath() {
  const std::string real = realExecutablePath();
  const size_t slash = real.find_last_of('/');
  return win32_standin::executableFolder() + (slash == std::string::npos ? "/" + real : real.substr(slash));
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// A library removed for a while (win32::removeLibrary) is not there.
void* tryOpen(const std::string& path) {
  if (win32_standin::libraryRemoved(path)) return nullptr;
  return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// The file a module was loaded from, as dlopen was given it.
std::string modulePath(HMODULE module) {
  struct link_map* map = nullptr;
  if (module && dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name) return map->l_name;
  return std::string();
}

}  // namespace

extern "C" {

DWORD WINAPI GetLastError(void) { return t_lastError; }
void WINAPI SetLastError(DWORD error) { t_lastError = error; }

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  const std::string path = module ? modulePath(module) : executablePath();
  if (path.empty()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!fileName || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::wstring wide = utf8ToWide(path);
  // As Windows: a path that does not fit is cut to size - 1 elements, ended
  // with a zero, and the result is size with ERROR_INSUFFICIENT_BUFFER.
  if (wide.size() >= size) {
    wide.copy(fileName, size - 1);
    fileName[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  wide.copy(fileName, wide.size());
  fileName[wide.size()] = 0;
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(wide.size());
}

BOOL WINAPI PathRemoveFileSpecW(LPWSTR path) {
  if (!path) return FALSE;
  size_t n = 0;
  while (path[n] != 0) ++n;
  size_t last = n;  // index of the last separator
  for (size_t i = 0; i < n; ++i)
    if (path[i] == L'\\' || path[i] == L'/') last = i;
  if (last == n) {  // a bare file name: nothing of a folder is left
    if (n == 0) return FALSE;
    path[0] = 0;
    return TRUE;
  }
  // A separator at the root ("\file", "C:\file") stays.
  const bool root = last == 0 || (last == 2 && path[1] == L':');
  const size_t cut = root ? last + 1 : last;
  if (cut >= n) return FALSE;  // already a bare root
  path[cut] = 0;
  return TRUE;
}

BOOL WINAPI SetDllDirectoryW(LPCWSTR pathName) {
  win32_standin::logCall(std::string("SetDllDirectoryW(") +
                         (pathName ? win32_standin::shownPath(wideToUtf8(pathName)) : "null") + ")");
  std::lock_guard<std::mutex> lock(g_dllDirectoryMutex);
  g_dllDirectory = pathName ? slashes(wideToUtf8(pathName)) : std::string();
  while (g_dllDirectory.size() > 1 && g_dllDirectory.back() == '/') g_dllDirectory.pop_back();
  g_dllDirectoryAsGiven = pathName ? std::basic_string<WCHAR>(pathName) : std::basic_string<WCHAR>();
  return TRUE;
}

// As Windows: the length copied (without the zero) when the buffer holds the
// folder and its zero, else the size needed (with the zero) and an empty text
// in the buffer; with no folder set, 0 and an empty text in the buffer.
DWORD WINAPI GetDllDirectoryW(DWORD bufferLength, LPWSTR buffer) {
  std::basic_string<WCHAR> folder;
  {
    std::lock_guard<std::mutex> lock(g_dllDirectoryMutex);
    folder = g_dllDirectoryAsGiven;
  }
  DWORD result = 0;
  std::string shown;
  if (folder.empty()) {
    if (buffer && bufferLength > 0) buffer[0] = 0;
    shown = "\"\"";
  } else if (buffer && bufferLength > folder.size()) {
    std::copy(folder.begin(), folder.end(), buffer);
    buffer[folder.size()] = 0;
    result = static_cast<DWORD>(folder.size());
    shown = win32_standin::shownPath(wideToUtf8(folder.c_str()));
  } else {
    if (buffer && bufferLength > 0) buffer[0] = 0;
    result = static_cast<DWORD>(folder.size() + 1);
    shown = "too small, " + std::to_string(result) + " needed";
  }
  win32_standin::logCall("GetDllDirectoryW(" + std::to_string(bufferLength) + ") -> " + shown);
  return result;
}

// The search order of LoadLibrary for a name or a relative path: the
// executable's folder, then the folder of SetDllDirectoryW, then the current
// folder and the system's own search. An absolute path is opened as given.
HMODULE WINAPI LoadLibraryW(LPCWSTR fileName) {
  if (!fileName || !*fileName) {
    win32_standin::logCall(std::string("LoadLibraryW(") + (fileName ? "\"\"" : "null") + ") -> null 87");
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string name = slashes(wideToUtf8(fileName));
  void* handle = nullptr;
  if (name[0] == '/') {
    handle = tryOpen(name);
  } else {
    std::string dllDirectory;
    {
      std::lock_guard<std::mutex> lock(g_dllDirectoryMutex);
      dllDirectory = g_dllDirectory;
    }
    const std::string exeFolder = folderOf(executablePath());
    if (!exeFolder.empty()) handle = tryOpen(exeFolder + "/" + name);
    if (!handle && !dllDirectory.empty()) handle = tryOpen(dllDirectory + "/" + name);
    // dlopen reads a name with a '/' as a path from the current folder and
    // looks a bare name up on the system's library path.
    if (!handle) handle = tryOpen(name);
  }
  const std::string call = "LoadLibraryW(" + win32_standin::shownPath(name) + ") -> ";
  if (!handle) {
    win32_standin::logCall(call + "null 126");
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  win32_standin::logCall(call + win32_standin::shownPath(modulePath(handle)));
  SetLastError(ERROR_SUCCESS);
  return handle;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName) {
  if (!module) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (!procName) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  const std::string path = modulePath(module);
  const std::string call = "GetProcAddress(" + win32_standin::shownPath(path) + ", " + win32_standin::quoted(procName) + ") -> ";
  dlerror();
  void* symbol = win32_standin::exportRemoved(path, procName) ? nullptr : dlsym(module, procName);
  if (!symbol) {
    win32_standin::logCall(call + "null 127");
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  win32_standin::logCall(call + "found");
  return reinterpret_cast<FARPROC>(symbol);
}

BOOL WINAPI FreeLibrary(HMODULE module) {
  win32_standin::logCall("FreeLibrary(" + (module ? win32_standin::shownPath(modulePath(module)) : std::string("null")) + ")");
  if (!module || dlclose(module) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

}  // extern "C"
