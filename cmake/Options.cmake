# ane::options: the compiler's warnings, the sanitizers and the fuzzer's
# coverage hooks for the targets of this project. Each of our targets links it
# (PRIVATE); a vendor's or a third-party target built in this tree would not,
# and keeps its own flags.
#   warnings    MSVC: /W4 /permissive- /utf-8 /Zc:__cplusplus; others: -Wall -Wextra
#   sanitizers  ANE_SANITIZE ("address;undefined" or "thread"), compiled and linked
#   fuzzing     ANE_BUILD_FUZZ: libFuzzer's coverage hooks in every library it
#               drives; its main is linked into the fuzz targets alone (fuzz/)
include_guard(GLOBAL)

add_library(ane_options INTERFACE)
if(MSVC)
  target_compile_options(ane_options INTERFACE /W4 /permissive- /utf-8 /Zc:__cplusplus)
else()
  target_compile_options(ane_options INTERFACE -Wall -Wextra)
endif()
if(ANE_SANITIZE)
  list(JOIN ANE_SANITIZE "," _ane_san)
  target_compile_options(ane_options INTERFACE -fsanitize=${_ane_san} -fno-omit-frame-pointer
                                               -fno-sanitize-recover=undefined)
  target_link_options(ane_options INTERFACE -fsanitize=${_ane_san})
endif()
if(ANE_BUILD_FUZZ)
  target_compile_options(ane_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
add_library(ane::options ALIAS ane_options)
