/* Path helpers of the Windows shell library, for builds not on Windows. */
#ifndef PLATFORM_WIN32_SHLWAPI_H_
#define PLATFORM_WIN32_SHLWAPI_H_

#include "windows.h"

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI PathRemoveFileSpecW(LPWSTR path);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_WIN32_SHLWAPI_H_ */
