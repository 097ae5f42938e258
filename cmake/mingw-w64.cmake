# Cross-building the Windows program on Debian with MinGW-w64 (posix threads). The
# libraries Debian has no MinGW package for (libpng, GoogleTest) are built by
# scripts/build-mingw-deps.sh into ZV_MINGW_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT ZV_MINGW_PREFIX)
  set(ZV_MINGW_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../build/mingw-deps/prefix")
endif()
get_filename_component(ZV_MINGW_PREFIX "${ZV_MINGW_PREFIX}" ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${ZV_MINGW_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static libraries only, so the programs need no DLLs beside them. The platform files
# loaded after this one put the import libraries (.dll.a) first again, so zlib, whose
# Debian package has both, is asked for its static library by name.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Windows headers in their wide-character form, for Windows 10 and later.
add_compile_definitions(UNICODE _UNICODE _WIN32_WINNT=0x0A00 WINVER=0x0A00 NOMINMAX)
