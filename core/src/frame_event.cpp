#include "core/frame_event.h"

#include <charconv>

namespace core {

void LevelBuilder::separate() {
  if (!first_) text_ += "||";
  first_ = false;
}

LevelBuilder& LevelBuilder::field(const std::string& s) {
  separate();
  text_ += s;
  return *this;
}

LevelBuilder& LevelBuilder::field(const char* s) {
  separate();
  text_ += s;
  return *this;
}

LevelBuilder& LevelBuilder::field(uint32_t v) {
  separate();
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  text_.append(digits, end);
  return *this;
}

LevelBuilder& LevelBuilder::field(int32_t v) {
  separate();
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  text_.append(digits, end);
  return *this;
}

void dispatchStatusKept(FREContext context, const std::string& code, const std::string& level) {
  if (!context) return;
  FREDispatchStatusEventAsync(context, reinterpret_cast<const uint8_t*>(code.c_str()),
                              reinterpret_cast<const uint8_t*>(level.c_str()));
}

}  // namespace core
