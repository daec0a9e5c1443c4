// Placeholders in the texts of expectations: <exe> stands for the
// executable's folder, as the simulated Windows reports it to the extension.
#pragma once

#include <string>

#include "script.h"

namespace anehost {

// The text with every <exe> replaced by folder.
std::string withExeFolder(const std::string& text, const std::string& folder);

}  // namespace anehost
