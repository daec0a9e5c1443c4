// Host utilities: releasing the SDK, ending the host process, and keeping the
// display and the system awake while live video is shown.
#include <windows.h>

#include "core/args.h"
#include "core/results.h"
#include "ilive/sdk_call.h"
#include "ilive/functions.h"
#include "ilive/sdk/ilive.h"

namespace brisora {

// Releases the SDK (the same request the context finalizer makes); leaves the
// manager, its renderers and the pending audio alone.
ANE_FUNCTION(dispose) {
  return trueOrNull(core::ask([] { GetILive()->releaseSdk(nullptr, nullptr, nullptr); }));
}

// Ends the whole process at once, exit code 0, without any clean-up.
ANE_FUNCTION(killProcess) {
  TerminateProcess(GetCurrentProcess(), 0);
  return core::newBool(true);  // only should TerminateProcess ever return
}

// true: screen saver off, display and system required; false: both restored.
// The execution state is the calling (main) thread's; the results are ignored.
ANE_FUNCTION(keepScreenOn) {
  const bool keepOn = core::Args(argc, argv).boolean(0);
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, keepOn ? FALSE : TRUE, nullptr, 0);
  SetThreadExecutionState(keepOn ? (ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED) : ES_CONTINUOUS);
  return nullptr;
}

}  // namespace brisora
