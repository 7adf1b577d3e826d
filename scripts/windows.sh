#!/usr/bin/env bash
# Builds the calculator for 64-bit Windows on this Debian machine, into build-windows/:
#   KalkulatorMarevo-<version>-setup.exe   the setup program
#   KalkulatorMarevo-<version>-win64.zip   the same files, portable: marevo.exe and its licences
# then runs the Windows checks under Wine: the test programs, and the setup program as a user
# meets it. Qt for Windows is built from Debian's source on first use and kept in a cache
# (scripts/windows-qt.sh). Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh run test windows
qt=$(scripts/windows-qt.sh)

# A build of another Qt for Windows (the cache of an older feature set) starts afresh: CMake
# would go on finding the Qt its cache names.
fresh=()
grep -qxF "Qt6_DIR:PATH=$qt/lib/cmake/Qt6" build-windows/CMakeCache.txt 2>/dev/null || fresh=(--fresh)
cmake "${fresh[@]}" -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
    -DMAREVO_WINDOWS_QT="$qt" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$root/tests/windows/wine_run.sh;$root/build-windows/wine" \
    "$@" >/dev/null
cmake --build build-windows -j "$(nproc)"
(cd build-windows && cpack >/dev/null && ls -l KalkulatorMarevo-*)
# The test programs share the build's Wine prefix: made once, before they run side by side.
(
    # shellcheck source=SCRIPTDIR/../tests/support/wine.sh
    source tests/support/wine.sh
    use_wine_prefix "$root/build-windows/wine"
    wine wineboot --init >/dev/null 2>&1
    wineserver -w
)
(cd build-windows && ctest --output-on-failure -j "$(nproc)")
