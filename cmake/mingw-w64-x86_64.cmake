# Cross-builds Pyrel.exe for 64-bit Windows with Debian's MinGW-w64 and runs
# the test executables under Wine:
#
#   cmake -S . -B build-mingw-w64 -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# (or the mingw-w64 presets). The POSIX thread model compiler is the one
# whose libstdc++ has std::thread and std::mutex; its winpthread, like
# libgcc and libstdc++, is linked statically, so the program imports
# nothing but system DLLs and runs from any folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Libraries, headers and packages come from the MinGW sysroot only; the
# programs that run during the build (windres, strip, python3) are the
# host's.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No libstdc++, libgcc or libwinpthread DLL beside the executables. No link
# time in the PE header either, so that linking the same objects gives the
# same bytes (the header's checksum then follows the contents); stripping
# writes SOURCE_DATE_EPOCH there when it is set, else the time of the strip.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp")

# add_test(COMMAND <target>) then runs "<wine> <target>.exe". Debian keeps
# the 64-bit loader in /usr/lib/wine; calling it directly skips the wrapper
# script's hint that the 32-bit half is missing.
find_program(WINE_PROGRAM NAMES wine64 wine PATHS /usr/lib/wine)
if(WINE_PROGRAM)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_PROGRAM})
endif()
