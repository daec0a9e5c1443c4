#include "placeholders.h"

namespace anehost {

std::string withExeFolder(const std::string& text, const std::string& folder) {
  static const std::string kExe = "<exe>";
  std::string out;
  size_t from = 0;
  for (size_t at; (at = text.find(kExe, from)) != std::string::npos; from = at + kExe.size())
    out.append(text, from, at - from).append(folder);
  return out.append(text, from, std::string::npos);
}

}  // namespace anehost
