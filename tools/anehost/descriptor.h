// The extension descriptor (extension.xml) that an AIR developer packages with
// the native library: the extension id, its version and, for one platform,
// the library file and the names of its initializer and finalizer.
#pragma once

#include <string>

namespace anehost {

struct Descriptor {
  std::string id;
  std::string versionNumber;
  std::string platform;       // the platform entry that was read
  std::string nativeLibrary;  // as written, e.g. "Brisora.dll"
  std::string initializer;
  std::string finalizer;
};

// Reads the descriptor text for the given platform ("Windows-x86"). False with
// a message when the XML is malformed or something the host needs is missing.
bool parseDescriptor(const std::string& xml, const std::string& platform, Descriptor* out, std::string* error);
bool readDescriptorFile(const std::string& path, const std::string& platform, Descriptor* out, std::string* error);

}  // namespace anehost
