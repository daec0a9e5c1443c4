#include "extension_host.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "descriptor.h"
#include "standin_common/call_text.h"

#ifndef _WIN32
#include "win32_standin.h"
#endif

namespace anehost {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPlatform = "Windows-x86";

std::string lower(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::string ExtensionHost::findDescriptor(int line, const std::string& name) {
  const bool isPath = name.find('/') != std::string::npos || name.find('\\') != std::string::npos ||
                      (name.size() > 4 && lower(name.substr(name.size() - 4)) == ".xml");
  if (isPath) {
    fs::path p(name);
    if (p.is_relative()) p = fs::path(o_.scriptDir) / p;
    return p.string();
  }
  std::vector<fs::path> folders;
  if (!o_.extensionsDir.empty()) folders.emplace_back(o_.extensionsDir);
  folders.push_back(fs::path(o_.exeDir) / "extensions");
  std::string seen;
  for (const auto& folder : folders) {
    for (const auto& [file, d] : descriptorsIn(folder.string(), kPlatform)) {
      const auto dot = d.id.rfind('.');
      const std::string shortName = dot == std::string::npos ? d.id : d.id.substr(dot + 1);
      if (d.id == name || lower(shortName) == lower(name)) return file;
      seen += (seen.empty() ? "" : ", ") + d.id;
    }
  }
  scriptError(line, "no extension descriptor with id " + t_.q(name) + " in " + fs::path(folders.back()).string() +
                     (seen.empty() ? "" : " (found " + seen + ")"));
}

std::string ExtensionHost::findLibrary(const std::string& nativeLibrary, const fs::path& descriptorDir) {
  return findNativeLibrary(nativeLibrary, {descriptorDir.string(), o_.exeDir});
}

void ExtensionHost::setAnsiCodePage() {
  if (!o_.ansiCodePage) return;
#ifdef _WIN32
  t_.item("note", "--ansi-codepage has no effect on Windows: the system's ANSI code page applies");
#else
  // One Win32 stand-in serves the whole process, as kernel32.dll does.
  win32::setAnsiCodePage(o_.ansiCodePage);
#endif
}

void ExtensionHost::setExeFolder() {
  if (o_.exeFolder.empty()) return;
#ifdef _WIN32
  t_.item("note", "--exe-folder has no effect on Windows: the executable's own folder applies");
#else
  win32::setExecutableFolder(o_.exeFolder);
#endif
}

void ExtensionHost::load(int line, const cmd::Extension& c) {
  const std::string path = findDescriptor(line, c.extension);
  Descriptor d;
  std::string error;
  if (!readDescriptorFile(path, kPlatform, &d, &error)) scriptError(line, error);
  const std::string library = findLibrary(d.nativeLibrary, fs::path(path).parent_path());
  if (library.empty()) scriptError(line, "no library file for " + t_.q(d.nativeLibrary) + " beside " + path + " or in " + o_.exeDir);
  t_.item("load", t_.q(d.id) + " version " + t_.q(d.versionNumber) + ", " + t_.q(d.nativeLibrary) + " as " + library);
  t_.item("entry", t_.q(d.initializer) + " / " + t_.q(d.finalizer));
  setExeFolder();
  extension_ = air::Extension::load(library, d.initializer, d.finalizer, &error);
  if (!extension_) scriptError(line, "cannot load " + library + ": " + error);
  setAnsiCodePage();
  nativeLibrary_ = d.nativeLibrary;
  connect(false);
  newContext(c.contextType);
  if (o_.onLoad) o_.onLoad(d.id, *context_);
}

bool ExtensionHost::connect(bool quiet) {
  std::string error;
  sdk_ = connectSdk(nativeLibrary_, &error);
  if (!sdk_) {
    if (!quiet) t_.item("note", error);
    return false;
  }
  t_.item("sdk", "simulated by " + sdk_->name());
  // Files that `sdk` lines name are found beside the script.
  if (!sdk_->command("folder " + standin_common::quote(fs::absolute(o_.scriptDir).string()), &error))
    t_.item("note", sdk_->name() + " cannot read files: " + error);
  return true;
}

SdkControl* ExtensionHost::sdk() {
  if (!sdk_ && extension_) connect(true);
  return sdk_.get();
}

void ExtensionHost::library(int line, const cmd::Library& c) {
#ifdef _WIN32
  (void)c;
  scriptError(line, "'library' needs the Win32 stand-in; on Windows, move the file yourself");
#else
  (void)line;
  if (c.remove)
    win32::removeLibrary(c.path, c.exportName);
  else
    win32::restoreLibrary(c.path, c.exportName);
  t_.item("library", std::string(c.remove ? "removed " : "restored ") +
                         (c.exportName.empty() ? "" : "export " + t_.q(c.exportName) + " of ") + t_.q(c.path) +
                         " (for the extension's LoadLibraryW and GetProcAddress)");
#endif
}

void ExtensionHost::newContext(const std::string& type) {
  if (context_ && !context_->disposed()) context_->dispose();
  context_ = extension_->createContext(type);
  if (!context_) throw Stop{kExitScriptError, "the context initializer did not give a context"};
  t_.item("context", std::to_string(context_->functionNames().size()) + " functions");
}

void ExtensionHost::unload() {
  context_.reset();
  extension_.reset();
  sdk_.reset();
#ifndef _WIN32
  win32::restoreAllLibraries();
#endif
}

}  // namespace anehost
