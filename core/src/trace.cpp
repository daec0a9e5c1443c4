#include "core/trace.h"

#include <cstdarg>
#include <cstdio>

namespace core {

void TraceSwitch::print(const char* format, ...) const {
  if (!on()) return;
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
}

}  // namespace core
