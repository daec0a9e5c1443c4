/* The Win32 calls the extensions make, for builds that are not on Windows.
 * On Windows the real <windows.h> is used and this folder is not on the path.
 *
 * Wide text: wchar_t is 32 bits here, but every WCHAR buffer holds one UTF-16
 * code unit per element (a character outside the BMP takes two, a surrogate
 * pair), so the counts these functions return are the ones Windows returns.
 * Paths use '\' as on Windows; the file calls map it to '/'. */
#ifndef PLATFORM_WIN32_WINDOWS_H_
#define PLATFORM_WIN32_WINDOWS_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef wchar_t WCHAR;
typedef char CHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef void* LPVOID;
typedef void* HANDLE;
typedef void* HMODULE;
typedef void* HINSTANCE;
typedef void* HWND;
typedef BOOL* LPBOOL;
typedef DWORD EXECUTION_STATE;
typedef intptr_t(WINAPI* FARPROC)(void);

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001

#define MB_PRECOMPOSED 0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_NO_BEST_FIT_CHARS 0x00000400
#define WC_ERR_INVALID_CHARS 0x00000080

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_INVALID_HANDLE 6L

#define ES_SYSTEM_REQUIRED ((EXECUTION_STATE)0x00000001)
#define ES_DISPLAY_REQUIRED ((EXECUTION_STATE)0x00000002)
#define ES_USER_PRESENT ((EXECUTION_STATE)0x00000004)
#define ES_AWAYMODE_REQUIRED ((EXECUTION_STATE)0x00000040)
#define ES_CONTINUOUS ((EXECUTION_STATE)0x80000000)

#define SPI_GETSCREENSAVEACTIVE 0x0010
#define SPI_SETSCREENSAVEACTIVE 0x0011
#define SPI_GETSCREENSAVETIMEOUT 0x000E
#define SPI_SETSCREENSAVETIMEOUT 0x000F
#define SPIF_UPDATEINIFILE 0x0001
#define SPIF_SENDWININICHANGE 0x0002
#define SPIF_SENDCHANGE SPIF_SENDWININICHANGE

int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount, LPWSTR wide,
                               int wideCount);
int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount, LPSTR multiByte,
                               int multiByteCount, LPCSTR defaultChar, LPBOOL usedDefaultChar);
UINT WINAPI GetACP(void);

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
BOOL WINAPI SetDllDirectoryW(LPCWSTR pathName);
DWORD WINAPI GetDllDirectoryW(DWORD bufferLength, LPWSTR buffer);
HMODULE WINAPI LoadLibraryW(LPCWSTR fileName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
BOOL WINAPI FreeLibrary(HMODULE module);
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD error);

HANDLE WINAPI GetCurrentProcess(void);
BOOL WINAPI TerminateProcess(HANDLE process, UINT exitCode);
BOOL WINAPI SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);
EXECUTION_STATE WINAPI SetThreadExecutionState(EXECUTION_STATE flags);

#ifdef __cplusplus
}
#endif

#endif /* PLATFORM_WIN32_WINDOWS_H_ */
