# Cross build for 64-bit Windows with mingw-w64. The -posix compilers are used
# because GoogleTest does not build with the win32 thread model.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TW_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TW_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TW_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TW_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TW_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
