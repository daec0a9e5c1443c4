// The pixel-memory table of the frame benchmark.
#pragma once

namespace bench {

// Runs four remote 1080p streams through start, run, stop and start again in
// the Tamvex session and prints peak and settled pixel memory of each phase.
void printPixelMemory();

}  // namespace bench
