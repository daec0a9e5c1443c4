# Cross-build for 32-bit Windows with Debian's mingw-w64 (posix threads, so
# std::thread and std::mutex exist). Everything links statically against the
# compiler's runtime and winpthread, so the DLLs we ship import only system
# DLLs, "Adobe AIR.dll" and (Brisora) iLiveSDK.dll.
#
# Cross-built third-party libraries (libyuv, GoogleTest) are looked for in
# ANE_MINGW_PREFIX (environment or cache; default /opt/ane-mingw), which
# scripts/setup-windows.sh fills.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(_ane_triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${_ane_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_ane_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_ane_triple}-windres)
set(CMAKE_AR ${_ane_triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_ane_triple}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT ANE_MINGW_PREFIX)
  if(DEFINED ENV{ANE_MINGW_PREFIX})
    set(ANE_MINGW_PREFIX $ENV{ANE_MINGW_PREFIX})
  else()
    set(ANE_MINGW_PREFIX /opt/ane-mingw)
  endif()
endif()
# try_compile projects read the toolchain file again; hand the prefix on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ANE_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_ane_triple} ${ANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The CPU baseline: SSE2, which every x86 CPU that runs a supported Windows
# has. Without it GCC's i686 code has no SSE at all, and libyuv (built with
# this file too) compiles none of its x86 row functions; with it, libyuv's
# SSSE3 and AVX2 rows are compiled in and chosen at run time by its CPU
# detection. Floating point goes through SSE as well.
set(ANE_WINDOWS_CPU_FLAGS "-msse2 -mfpmath=sse")
set(CMAKE_C_FLAGS_INIT "${ANE_WINDOWS_CPU_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${ANE_WINDOWS_CPU_FLAGS}")

# No libgcc_s, libstdc++ or libwinpthread DLLs at run time.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Release DLLs as shipped: without symbols and the static runtime's debug
# sections (about half of each file).
set(CMAKE_SHARED_LINKER_FLAGS_RELEASE_INIT "-s")
set(CMAKE_MODULE_LINKER_FLAGS_RELEASE_INIT "-s")

# zlib (libz-mingw-w64-dev) also comes as a DLL; take its static library.
set(ZLIB_USE_STATIC_LIBS ON)

# Test programs run under 32-bit Wine (ctest and gtest_discover_tests use this).
find_program(ANE_WINE wine)
if(ANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ANE_WINE})
endif()
