# Cross build for 32-bit Windows (the product) with Debian's MinGW-w64. Its
# tests run here under Wine's classic 32-bit loader (package wine32:i386), on
# a kernel that executes 32-bit code; tools/test.sh checks for that first.
# The posix thread model gives the C++ runtime std::mutex (GoogleTest needs
# it); -static links its small thread library into the executable.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
