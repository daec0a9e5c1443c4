// Windows only: redirects calls that the program's own modules make into a
// DLL by rewriting their import address tables. Each module (the program,
// the extensions, the stand-ins) carries its own static C++ runtime, so no
// single definition can stand in for an imported function as it can on
// Linux; each module's table is rewritten instead.
#pragma once

#if defined(_WIN32)

#include <windows.h>

#include <vector>

namespace bench {

// The modules loaded from the folder of the running program or below it
// (ours, not Windows' or Wine's), the program first.
std::vector<HMODULE> ownModules();

// Points every import of `function` from `dll` (any case) by `module` at
// `replacement`. Returns how many entries now point there.
int patchImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace bench

#endif
