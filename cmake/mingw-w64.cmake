# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# Extra prefixes (GoogleTest, Qt built for Windows) come in CMAKE_FIND_ROOT_PATH
# on the command line; the host's /usr is never searched for libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triple}-windres)

list(APPEND CMAKE_FIND_ROOT_PATH /usr/${mingw_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and other built programs run through Wine.
find_program(wine_program wine)
if(wine_program)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_program})
endif()
