// The Win32 stand-in's own record of the calls a program makes (see
// win32::takeCalls), and the libraries and exports a test or script has
// removed for a while. Shared by module.cpp and process.cpp.
#pragma once

#include <string>

namespace win32_standin {

// Appends one line "Call(args) -> result" to the record.
void logCall(std::string line);
// The text in double quotes with C escapes (control bytes as \xHH).
std::string quoted(const std::string& text);
// The path in double quotes with C escapes, '\' written as '/' and the
// executable's folder at its start as <exe>.
std::string shownPath(const std::string& path);
// A path as a comparable absolute path: '\' as '/', relative to the
// executable's folder, "." and ".." resolved.
std::string normalPath(const std::string& path);
// The executable's folder: the one chosen by win32::setExecutableFolder, else the real one.
std::string executableFolder();
// Whether LoadLibraryW is to find no file at this path, and GetProcAddress no
// such export in a module loaded from it.
bool libraryRemoved(const std::string& path);
bool exportRemoved(const std::string& path, const std::string& name);

}  // namespace win32_standin
