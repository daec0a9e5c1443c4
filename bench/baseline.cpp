// The literal 24-bit intake, in a file of its own so that the compiler sees
// it as any caller would.
#include "frame_bench.h"

namespace bench {

void rgb24ByteLoop(const uint8_t* data, size_t dataSize, uint8_t* buffer) {
  for (size_t i = 0; i + 2 < dataSize; i += 3) {
    const size_t p = i / 3;
    buffer[4 * p] = data[i];
    buffer[4 * p + 1] = data[i + 1];
    buffer[4 * p + 2] = data[i + 2];
    buffer[4 * p + 3] = 255;
  }
}

}  // namespace bench
