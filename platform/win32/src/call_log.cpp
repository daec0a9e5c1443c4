// The record of calls the Win32 stand-in keeps for the host tool's transcript,
// and the libraries and exports removed for a while.
#include "call_log.h"

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "win32_standin.h"

namespace win32_standin {
namespace {

// The record keeps at most this many lines (the oldest go) when nobody takes them.
constexpr size_t kMaxLines = 10000;

struct Record {
  std::mutex mutex;  // guards everything below but the executable's folder
  std::deque<std::string> lines;
  std::set<std::string> removedLibraries;
  std::set<std::pair<std::string, std::string>> removedExports;
  void (*listener)(void*) = nullptr;
  void* listenerData = nullptr;
  // Apart from the rest: paths are made with it while the mutex above is held.
  std::mutex folderMutex;        // guards executableFolder
  std::string executableFolder;  // chosen by setExecutableFolder; "": the real one
};

Record& record() {
  static Record* r = new Record;  // lives as long as the process: calls may come at its end
  return *r;
}

}  // namespace

std::string quoted(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string executableFolder() {
  {
    Record& r = record();
    std::lock_guard<std::mutex> lock(r.folderMutex);
    if (!r.executableFolder.empty()) return r.executableFolder;
  }
  std::vector<char> buf(4096);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buf.size()) {
      const std::string path(buf.data(), static_cast<size_t>(n));
      const size_t slash = path.find_last_of('/');
      return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }
    buf.resize(buf.size() * 2);
  }
}

void logCall(std::string line) {
  Record& r = record();
  void (*listener)(void*) = nullptr;
  void* data = nullptr;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    r.lines.push_back(std::move(line));
    if (r.lines.size() > kMaxLines) r.lines.pop_front();
    listener = r.listener;
    data = r.listenerData;
  }
  if (listener) listener(data);
}

std::string shownPath(const std::string& given) {
  std::string path = given;
  for (char& c : path)
    if (c == '\\') c = '/';
  const std::string folder = executableFolder();
  if (!folder.empty() && path.compare(0, folder.size(), folder) == 0 &&
      (path.size() == folder.size() || path[folder.size()] == '/'))
    return win32_standin::quoted("<exe>" + path.substr(folder.size()));
  return win32_standin::quoted(path);
}

std::string normalPath(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  std::filesystem::path fp(p);
  if (fp.is_relative()) fp = std::filesystem::path(executableFolder()) / fp;
  return fp.lexically_normal().generic_string();
}

bool libraryRemoved(const std::string& path) {
  Record& r = record();
  std::lock_guard<std::mutex> lock(r.mutex);
  return !r.removedLibraries.empty() && r.removedLibraries.count(normalPath(path)) != 0;
}

bool exportRemoved(const std::string& path, const std::string& name) {
  Record& r = record();
  std::lock_guard<std::mutex> lock(r.mutex);
  return !r.removedExports.empty() && r.removedExports.count({normalPath(path), name}) != 0;
}

}  // namespace win32_standin

namespace win32 {

std::vector<std::string> takeCalls() {
  win32_standin::Record& r = win32_standin::record();
  std::lock_guard<std::mutex> lock(r.mutex);
  std::vector<std::string> out(r.lines.begin(), r.lines.end());
  r.lines.clear();
  return out;
}

void setCallListener(void (*listener)(void*), void* data) {
  win32_standin::Record& r = win32_standin::record();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.listener = listener;
  r.listenerData = data;
}

void setExecutableFolder(const std::string& folder) {
  std::string f = folder;
  for (char& c : f)
    if (c == '\\') c = '/';
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  win32_standin::Record& r = win32_standin::record();
  std::lock_guard<std::mutex> lock(r.folderMutex);
  r.executableFolder = f;
}

void removeLibrary(const std::string& path, const std::string& exportName) {
  win32_standin::Record& r = win32_standin::record();
  const std::string normal = win32_standin::normalPath(path);
  std::lock_guard<std::mutex> lock(r.mutex);
  if (exportName.empty())
    r.removedLibraries.insert(normal);
  else
    r.removedExports.insert({normal, exportName});
}

void restoreLibrary(const std::string& path, const std::string& exportName) {
  win32_standin::Record& r = win32_standin::record();
  const std::string normal = win32_standin::normalPath(path);
  std::lock_guard<std::mutex> lock(r.mutex);
  if (exportName.empty())
    r.removedLibraries.erase(normal);
  else
    r.removedExports.erase({normal, exportName});
}

void restoreAllLibraries() {
  win32_standin::Record& r = win32_standin::record();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.removedLibraries.clear();
  r.removedExports.clear();
}

}  // namespace win32
