# Cross compilation with mingw-w64, win32 thread model: the runtime's own
# locks (thread-safe statics, the exception pool) are the system's, and no
# POSIX thread library is linked into any binary. GCC 12 has no std::thread or
# std::mutex in this model; the workers run on plat::WorkerThread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PP_MINGW}-gcc-win32)
set(CMAKE_CXX_COMPILER ${PP_MINGW}-g++-win32)
set(CMAKE_RC_COMPILER ${PP_MINGW}-windres)
# A build folder keeps the compilers it was first configured with (in
# CMakeFiles/<version>); one configured with others than these, the posix
# thread model's say, has its compilers looked up again, and its other
# settings kept.
foreach(lang C CXX)
  set(found "${CMAKE_BINARY_DIR}/CMakeFiles/${CMAKE_VERSION}/CMake${lang}Compiler.cmake")
  if(EXISTS "${found}")
    file(STRINGS "${found}" compiler LIMIT_COUNT 1 REGEX "^set\\(CMAKE_${lang}_COMPILER ")
    string(REGEX REPLACE "^set\\(CMAKE_${lang}_COMPILER \"(.*)\"\\)$" "\\1" compiler "${compiler}")
    get_filename_component(compiler "${compiler}" NAME)
    if(NOT compiler STREQUAL CMAKE_${lang}_COMPILER)
      file(REMOVE "${found}")
      unset(CMAKE_${lang}_COMPILER_AR CACHE)
      unset(CMAKE_${lang}_COMPILER_RANLIB CACHE)
    endif()
  endif()
endforeach()
set(CMAKE_FIND_ROOT_PATH /usr/${PP_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
