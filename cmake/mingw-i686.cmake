# Cross build of the Windows programs: 32-bit PE executables from MinGW-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)

# SSE2 arithmetic instead of x87 so doubles round exactly as on x86-64.
# Loops start on 32-byte boundaries: the water step's inner loop runs about
# 12 % slower where the linker happens to place it across one.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -falign-loops=32")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -falign-loops=32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
