// The level of a frame event, built in a buffer the calling thread keeps, and
// raised without copying: the frame path allocates nothing per frame once the
// texts have reached their size.
#pragma once

#include <cstdint>
#include <string>

#include "FlashRuntimeExtensions.h"

namespace core {

// Appends decimal numbers and "||" separators to a level text.
class LevelBuilder {
 public:
  explicit LevelBuilder(std::string& buffer) : text_(buffer) { text_.clear(); }
  LevelBuilder& field(const std::string& s);
  LevelBuilder& field(const char* s);
  LevelBuilder& field(uint32_t v);
  LevelBuilder& field(int32_t v);
  const std::string& text() const { return text_; }

 private:
  void separate();
  std::string& text_;
  bool first_ = true;
};

// As dispatchStatus, for texts the caller keeps alive during the call.
void dispatchStatusKept(FREContext context, const std::string& code, const std::string& level);

}  // namespace core
