# Cross-builds the 64-bit Windows program with Debian's MinGW-w64 (posix
# threads, so that std::thread and friends work). Everything is linked
# statically: the executable needs no libgcc, libstdc++ or winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVANE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVANE_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KELVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The W functions and TCHAR as wchar_t everywhere.
set(CMAKE_C_FLAGS_INIT "-DUNICODE -D_UNICODE")
set(CMAKE_CXX_FLAGS_INIT "-DUNICODE -D_UNICODE")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
