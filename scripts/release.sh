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
# Read by CPack for the times in its archives and by rcc for those of the resources.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
release=(-DBUILD_TESTING=OFF -DCMAKE_PROJECT_INCLUDE="$root/packaging/release.cmake")

cmake --fresh -S . -B build-release-deb -G Ninja "${release[@]}" >/dev/null
cmake --build build-release-deb
(cd build-release-deb && cpack -G DEB >/dev/null)

rm -rf dist
mkdir dist
cp build-release-deb/*.deb dist/
(cd dist && sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
