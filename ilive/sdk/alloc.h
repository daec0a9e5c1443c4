// The iLive SDK's allocator and text functions.
// Assumption: every SdkString and SdkVector that crosses the SDK boundary, in
// either direction, is built, grown and freed with these and never with the
// extension's own heap; the SDK frees what it was handed with iliveFree.
#pragma once

#include <cstdarg>
#include <cstddef>

#if defined(_WIN32)
#if defined(ILIVE_SDK_BUILD)
#define ILIVE_API __declspec(dllexport)
#else
#define ILIVE_API __declspec(dllimport)
#endif
#else
#define ILIVE_API __attribute__((visibility("default")))
#endif

extern "C" {
ILIVE_API void* iliveMalloc(size_t size);
ILIVE_API void iliveFree(void* pointer);
ILIVE_API void* iliveMemCpy(void* destination, const void* source, size_t size);
ILIVE_API size_t iliveStrLen(const char* text);
ILIVE_API int iliveVsnprintf(char* buffer, size_t size, const char* format, va_list args);
}
