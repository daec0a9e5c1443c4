# Where each platform boundary's declarations and library come from: one
# switch per boundary. Empty (the default) means our own declarations and the
# stand-in built here; a folder means the vendor's header folder and import
# library, as a production build (MSVC, preset "production") uses them.
#
#   ANE_AIR_SDK_DIR     the AIR SDK: FlashRuntimeExtensions.h and the import
#                       library FlashRuntimeExtensions.lib ("Adobe AIR.dll").
#   ANE_ILIVE_SDK_DIR   the iLive SDK: its headers and the import library of
#                       iLiveSDK.dll, which Brisora links.
#   ANE_LITEAV_SDK_DIR  the TRTC / LiteAV SDK: its headers only; Tamvex loads
#                       liteav.dll at run time and links nothing of it.
#
# The header and library found in a folder can be named exactly with the
# cache variables ANE_<SDK>_SDK_INCLUDE_DIR and ANE_<SDK>_SDK_LIBRARY.
#
# ANE_ILIVE_SDK_HEADER and ANE_LITEAV_SDK_HEADER name the header that stands
# in for ilive/sdk/ilive.h and trtc/sdk/liteav.h (the only SDK headers the
# extension code includes): the vendor's main header where its names are
# those our declarations use, otherwise a short header of our own that
# includes the vendor's and maps the names. Found on the include path.
#
# Targets made here, linked by core/, ilive/ and trtc/:
#   ane::air_sdk     the runtime's declarations and library
#   ane::ilive_link  what Brisora links for the iLive SDK
#   ane::liteav_decl what Tamvex compiles against for LiteAV
include_guard(GLOBAL)

set(ANE_AIR_SDK_DIR "" CACHE PATH "AIR SDK folder (FlashRuntimeExtensions.h, FlashRuntimeExtensions.lib); empty: the runtime stand-in")
set(ANE_ILIVE_SDK_DIR "" CACHE PATH "iLive SDK folder (headers, iLiveSDK import library); empty: our declarations and the stand-in")
set(ANE_ILIVE_SDK_HEADER "" CACHE STRING "Header standing in for ilive/sdk/ilive.h when ANE_ILIVE_SDK_DIR is set")
set(ANE_LITEAV_SDK_DIR "" CACHE PATH "TRTC / LiteAV SDK folder (headers); empty: our declarations")
set(ANE_LITEAV_SDK_HEADER "" CACHE STRING "Header standing in for trtc/sdk/liteav.h when ANE_LITEAV_SDK_DIR is set")

set(ANE_VENDOR_SDKS "")
foreach(sdk AIR ILIVE LITEAV)
  if(ANE_${sdk}_SDK_DIR)
    list(APPEND ANE_VENDOR_SDKS ${sdk})
  endif()
endforeach()
if(ANE_VENDOR_SDKS AND (ANE_BUILD_TESTS OR ANE_BUILD_BENCH OR ANE_BUILD_STANDINS))
  message(FATAL_ERROR "Vendor SDKs (${ANE_VENDOR_SDKS}) build the extensions alone: set ANE_BUILD_TESTS, "
                      "ANE_BUILD_BENCH and ANE_BUILD_STANDINS to OFF (preset \"production\"). The tests, the "
                      "benchmark and the host tool run against the stand-ins only.")
endif()
if(NOT ANE_BUILD_STANDINS AND NOT ANE_VENDOR_SDKS STREQUAL "AIR;ILIVE;LITEAV")
  message(FATAL_ERROR "ANE_BUILD_STANDINS is OFF: set ANE_AIR_SDK_DIR, ANE_ILIVE_SDK_DIR and ANE_LITEAV_SDK_DIR")
endif()

# The include folder and (optionally) the library of one vendor SDK.
function(_ane_vendor_sdk sdk header libname)
  find_path(ANE_${sdk}_SDK_INCLUDE_DIR ${header} HINTS ${ANE_${sdk}_SDK_DIR}
            PATH_SUFFIXES include Include inc NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ANE_${sdk}_SDK_INCLUDE_DIR)
    message(FATAL_ERROR "No ${header} in ${ANE_${sdk}_SDK_DIR} (or its include folder): set ANE_${sdk}_SDK_INCLUDE_DIR")
  endif()
  if(libname)
    find_library(ANE_${sdk}_SDK_LIBRARY ${libname} HINTS ${ANE_${sdk}_SDK_DIR}
                 PATH_SUFFIXES lib lib/win lib/Win32 lib/x86 NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT ANE_${sdk}_SDK_LIBRARY)
      message(FATAL_ERROR "No ${libname} import library in ${ANE_${sdk}_SDK_DIR}: set ANE_${sdk}_SDK_LIBRARY")
    endif()
  endif()
  message(STATUS "${sdk} SDK: the vendor's, headers ${ANE_${sdk}_SDK_INCLUDE_DIR} ${ANE_${sdk}_SDK_LIBRARY}")
endfunction()

# ---- AIR runtime
add_library(ane_air_sdk INTERFACE)
if(ANE_AIR_SDK_DIR)
  _ane_vendor_sdk(AIR FlashRuntimeExtensions.h FlashRuntimeExtensions)
  target_include_directories(ane_air_sdk INTERFACE ${ANE_AIR_SDK_INCLUDE_DIR})
  target_link_libraries(ane_air_sdk INTERFACE ${ANE_AIR_SDK_LIBRARY})
endif()
add_library(ane::air_sdk ALIAS ane_air_sdk)
# Without the vendor's SDK, platform/air adds the stand-in to ane::air_sdk.

# ---- iLive SDK
add_library(ane_ilive_link INTERFACE)
if(ANE_ILIVE_SDK_DIR)
  if(NOT ANE_ILIVE_SDK_HEADER)
    message(FATAL_ERROR "ANE_ILIVE_SDK_DIR is set: name the header that stands in for ilive/sdk/ilive.h in ANE_ILIVE_SDK_HEADER")
  endif()
  _ane_vendor_sdk(ILIVE ${ANE_ILIVE_SDK_HEADER} iLiveSDK)
  target_include_directories(ane_ilive_link INTERFACE ${ANE_ILIVE_SDK_INCLUDE_DIR})
  target_compile_definitions(ane_ilive_link INTERFACE "ANE_ILIVE_SDK_HEADER=<${ANE_ILIVE_SDK_HEADER}>")
  target_link_libraries(ane_ilive_link INTERFACE ${ANE_ILIVE_SDK_LIBRARY})
endif()
add_library(ane::ilive_link ALIAS ane_ilive_link)
# Without it, platform/ilive adds the stand-in (iLiveSDK) to ane::ilive_link.

# ---- TRTC / LiteAV SDK (headers only)
add_library(ane_liteav_decl INTERFACE)
if(ANE_LITEAV_SDK_DIR)
  if(NOT ANE_LITEAV_SDK_HEADER)
    message(FATAL_ERROR "ANE_LITEAV_SDK_DIR is set: name the header that stands in for trtc/sdk/liteav.h in ANE_LITEAV_SDK_HEADER")
  endif()
  _ane_vendor_sdk(LITEAV ${ANE_LITEAV_SDK_HEADER} "")
  target_include_directories(ane_liteav_decl INTERFACE ${ANE_LITEAV_SDK_INCLUDE_DIR})
  target_compile_definitions(ane_liteav_decl INTERFACE "ANE_LITEAV_SDK_HEADER=<${ANE_LITEAV_SDK_HEADER}>")
endif()
add_library(ane::liteav_decl ALIAS ane_liteav_decl)
