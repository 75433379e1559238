# Cross compilation with mingw-w64, posix thread model (std::thread, std::mutex).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${PP_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PP_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${PP_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PP_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Test programs run under Wine through this wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
