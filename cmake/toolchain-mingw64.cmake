# Cross-compiling for Windows x64 with Debian's mingw-w64 compilers (posix thread variants: the
# project uses C++11 threads). Libraries are looked up in the mingw sysroot and in
# VESK_MINGW_PREFIX (the static libraries scripts/build-windows.sh builds); programs on the build
# machine; CMake packages in both, since JUCE's and Eigen's configurations live on the build
# machine.
#
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake \
#         -DVESK_MINGW_PREFIX=<prefix> ...

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(VESK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VESK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VESK_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${VESK_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${VESK_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Passed on to try_compile projects and to the library builds that use this file.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VESK_MINGW_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${VESK_MINGW_TRIPLE})
if(VESK_MINGW_PREFIX)
    list(APPEND CMAKE_FIND_ROOT_PATH ${VESK_MINGW_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# Everything links the C and C++ runtimes statically: the modules need no MinGW DLL beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
