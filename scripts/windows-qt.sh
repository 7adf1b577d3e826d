#!/usr/bin/env bash
# Builds Qt for 64-bit Windows once per machine, from Debian's own source of the
# Qt the Linux build uses, and prints where it is installed. Later runs find it
# in the cache and return at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cache=${MAREVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kalkulator-marevo}
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)

# Only what the calculator and its tests use, optimised for size: the setup program
# carries these libraries. Without Direct2D the DirectWrite 3 font database is not built,
# and the windows platform plugin must not ask for it.
features=(
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_opengl=OFF
    -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_sql=OFF -DFEATURE_testlib=ON
    -DFEATURE_jpeg=ON -DFEATURE_gif=OFF -DFEATURE_ico=ON -DFEATURE_optimize_size=ON
    -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF
)
key=$(printf '%s\n' "$version" "${features[@]}" | sha256sum | cut -c1-12)
prefix=$cache/qt-mingw-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-mingw-build
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/cache/archives/partial" "$work/apt/sources" "$work/src"

# The source comes through apt from the machine's own Debian mirrors, read into a
# private lists directory; the system's apt configuration stays untouched.
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*\)/deb-src \1/p' "$f"
done > "$work/apt/sources/src.list"
for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && sed 's/^Types: deb$/Types: deb-src/' "$f" > "$work/apt/sources/$(basename "$f")"
done
apt=(apt-get -q -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt/sources"
     -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache=$work/apt/cache"
     -o APT::Sandbox::User="$(id -un)")
"${apt[@]}" update >&2
(cd "$work/src" && "${apt[@]}" source "qt6-base=$version" >&2)
src=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)

cmake -S "$src" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${features[@]}" >&2
cmake --build "$work/build" --parallel "$(nproc)" >&2
cmake --install "$work/build" --strip >&2
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
