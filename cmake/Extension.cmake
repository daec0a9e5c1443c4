# ane_add_extension(NAME SOURCES a.cpp ... LIBS x y): one AIR native extension
# as a shared library named NAME (NAME.dll on Windows) that exports nothing but
# its entry points: hidden visibility, the static libraries linked in kept
# inside, and on Windows undecorated names and the C++ runtime linked in
# (mingw: the options below; MSVC: exports of extern "C" __cdecl functions are
# undecorated anyway, and CMAKE_MSVC_RUNTIME_LIBRARY links the runtime in).
include_guard(GLOBAL)

function(ane_add_extension name)
  cmake_parse_arguments(E "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${E_SOURCES})
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME ${name}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${E_LIBS} Threads::Threads ane::options)
  if(WIN32)
    set_target_properties(${name} PROPERTIES PREFIX "")
  endif()
  if(MINGW)
    target_link_options(${name} PRIVATE -Wl,--kill-at -static)
  elseif(NOT WIN32)
    target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
  endif()
endfunction()
