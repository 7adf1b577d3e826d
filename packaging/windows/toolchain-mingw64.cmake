# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, which Qt 6 needs for std::thread and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Without these the host's /usr/include leaks into the cross build.
# MAREVO_WINDOWS_QT, when given, is the Qt built for Windows that the program uses.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${MAREVO_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The MinGW runtime (libgcc, libstdc++, winpthreads) is linked into every program, so that a
# program needs no DLLs beside it; of a static Qt, built in sections, only what is used.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--gc-sections")

# Debian's Qt, from 6.8 on, does not look for its plugins when a program looks for Qt, because
# Debian ships them in packages of their own. The static Qt for Windows, built from Debian's
# source, keeps that default, and its plugins would then not be linked into the program.
set(QT_SKIP_AUTO_PLUGIN_INCLUSION OFF)
