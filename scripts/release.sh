#!/usr/bin/env bash
# Builds the downloads from the checked-out commit into dist/, with SHA256SUMS over them:
#   kalkulator-marevo_<version>_amd64.deb   the Debian package
#   KalkulatorMarevo-<version>-setup.exe    the Windows setup program
#   KalkulatorMarevo-<version>-win64.zip    the portable Windows program
# The same commit gives the same bytes wherever it is checked out, whenever, by whoever: every
# time stamped into a download is the commit's, no build path reaches one, and the archives
# hold their files in one order with fixed owners and modes. Builds in build-release-deb/ and
# build-release-windows/ and runs no tests; Qt for Windows comes from the cache of
# scripts/windows-qt.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh run release
git diff --quiet HEAD -- || echo "warning: the working tree differs from commit $(git rev-parse --short HEAD)" >&2

# The modes of what the build writes, the folders of the .deb's tree and its parts among them:
# dpkg-buildpackage's umask.
umask 022
# Read by CPack for the times in its archives, by rcc for those of the resources, and by MinGW's
# linker for the time in the Windows program's header.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
# The builder's own compiler flags and CMake defaults would make another program.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS CMAKE_BUILD_TYPE CMAKE_TOOLCHAIN_FILE CMAKE_PREFIX_PATH
release=(-DBUILD_TESTING=OFF -DCMAKE_PROJECT_INCLUDE="$root/packaging/release.cmake")
rm -rf build-release-deb build-release-windows dist

cmake -S . -B build-release-deb -G Ninja "${release[@]}" >/dev/null
cmake --build build-release-deb
(cd build-release-deb && cpack -G DEB >/dev/null)

qt=$(scripts/windows-qt.sh)
cmake -S . -B build-release-windows -G Ninja -DCMAKE_BUILD_TYPE=Release "${release[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
    -DMAREVO_WINDOWS_QT="$qt" -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr >/dev/null
cmake --build build-release-windows
(cd build-release-windows && cpack >/dev/null)

# Named one by one: the order of a wildcard's files follows the builder's language.
downloads=(build-release-deb/*.deb build-release-windows/KalkulatorMarevo-*-setup.exe
    build-release-windows/KalkulatorMarevo-*-win64.zip)
mkdir dist
cp "${downloads[@]}" dist/
cd dist
# CPack, up to CMake 4.2, writes the builder's user and group ids into each entry of the .zip;
# strip-nondeterminism sets them to 0.
strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" -- *.zip
sha256sum -- "${downloads[@]##*/}" | tee SHA256SUMS
