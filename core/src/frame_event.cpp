#include "core/frame_event.h"

#include <charconv>

namespace core {
namespace {

// Appends the decimal text of a 32-bit number without allocating beyond the
// text's own growth.
template <class Int>
void appendDecimal(std::string& text, Int v) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
  text.append(digits, end);
}

}  // namespace

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
  appendDecimal(text_, v);
  return *this;
}

LevelBuilder& LevelBuilder::field(int32_t v) {
  separate();
  appendDecimal(text_, v);
  return *this;
}

void dispatchStatusKept(FREContext context, const std::string& code, const std::string& level) {
  if (!context) return;
  FREDispatchStatusEventAsync(context, reinterpret_cast<const uint8_t*>(code.c_str()),
                              reinterpret_cast<const uint8_t*>(level.c_str()));
}

}  // namespace core
