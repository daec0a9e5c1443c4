// The extension descriptor (extension.xml) that an AIR developer packages with
// the native library: the extension id, its version and, for one platform,
// the library file and the names of its initializer and finalizer.
#pragma once

#include <string>
#include <vector>

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

// A descriptor read from a file.
struct FoundDescriptor {
  std::string path;
  Descriptor descriptor;
};

// The readable descriptors (*.xml) of a folder for the platform, in file-name
// order; an unreadable folder or file is passed over.
std::vector<FoundDescriptor> descriptorsIn(const std::string& folder, const std::string& platform);

// The file of a descriptor's native library in the first of the folders that
// has it: the name as written, or on Linux libNAME.so and NAME.so ("Brisora.dll"
// is libBrisora.so there). Empty when no folder has it.
std::string findNativeLibrary(const std::string& nativeLibrary, const std::vector<std::string>& folders);

}  // namespace anehost
