#!/usr/bin/env bash
# Builds a static Qt for 64-bit Windows once per machine, from Debian's own source of the
# Qt the Linux build uses, and prints where it is installed. Later runs find it in the cache
# and return at once. The cross build's host tools (moc, rcc, uic) are the machine's own
# Qt, so target and tools are always the same version.
#
# Next to the libraries the cache keeps, under share/marevo-notices/, what the program's
# licence notices are made from: every qt_attribution.json of the source with the licence
# files it names, Qt's own licence texts, the source package's name and version, and
# used-sources.txt, the source files (headers too) compiled into the libraries and plugins
# that end up in the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=SCRIPTDIR/cache.sh
source "$root/scripts/cache.sh"
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
host_cmake=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake

# Only what the calculator and its tests use, optimised for size, linked statically into
# the one program with the MinGW runtime. Without Direct2D the DirectWrite 3 font database
# is not built, and the windows platform plugin must not ask for it. Style sheets, the file
# dialog and the graphics view are turned off because QApplication and QDialog reach them
# whether used or not (about 2 MiB of the program); with every function and datum in a
# section of its own, the program's link drops what nothing calls. HarfBuzz shapes text for
# the scripts that need it (0.5 MiB of the program); Slovenian needs no shaping, and
# without it Qt sets text as Windows' own GDI does, without kerning.
features=(
    -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON
    "-DCMAKE_C_FLAGS=-ffunction-sections -fdata-sections"
    "-DCMAKE_CXX_FLAGS=-ffunction-sections -fdata-sections"
    -DFEATURE_style_stylesheet=OFF -DFEATURE_filedialog=OFF -DFEATURE_graphicsview=OFF
    -DFEATURE_mimetype_database=OFF -DFEATURE_freetype=OFF -DFEATURE_harfbuzz=OFF
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_printsupport=OFF -DFEATURE_opengl=OFF
    -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_directwrite3=OFF -DFEATURE_testlib=ON
    -DFEATURE_jpeg=ON -DFEATURE_gif=OFF -DFEATURE_ico=ON -DFEATURE_optimize_size=ON
    -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
    -DFEATURE_textmarkdownwriter=OFF
)
# Qt 6.8's Gui compiles its Windows font database only with Direct2D, and its Windows 11 style
# needs the graphics view (for a drop shadow) and style sheets: later Qt keeps those as Qt
# sets them.
if [[ $version != 6.4.* ]]; then
    kept=()
    for feature in "${features[@]}"; do
        case $feature in
        -DFEATURE_direct2d=OFF | -DFEATURE_directwrite3=OFF | -DFEATURE_graphicsview=OFF | \
            -DFEATURE_style_stylesheet=OFF) ;;
        *) kept+=("$feature") ;;
        esac
    done
    features=("${kept[@]}")
fi
# The notices' layout is part of the key: a cache made without them is rebuilt.
key=$(printf '%s\n' "$version" "${features[@]}" notices-1 | sha256sum | cut -c1-12)
prefix=$cache/qt-mingw-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-mingw-build
rm -rf "$work" "$prefix"
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
dsc=$(find "$work/src" -maxdepth 1 -name 'qt6-base_*.dsc' | head -n 1)

cmake -S "$src" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$root/packaging/windows/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${features[@]}" >&2
cmake --build "$work/build" --parallel "$(nproc)" >&2
cmake --install "$work/build" --strip >&2

notices=$prefix/share/marevo-notices
mkdir -p "$notices"
{
    sed -n 's/^Source: //p' "$dsc"
    sed -n 's/^Version: //p' "$dsc"
} > "$notices/source-package.txt"
# Ninja's dependency log names every file each object was compiled from; test support
# (QtTest) is never shipped.
(cd "$work/build" && ninja -t deps) | awk -v src="$src/" '
    /^[^ \t]/ { keep = ($0 !~ /^src\/testlib\//); next }
    keep && index($1, src) == 1 { print substr($1, length(src) + 1) }
' | sort -u > "$notices/used-sources.txt"
(cd "$src" && find . -name qt_attribution.json -not -path './tests/*' -printf '%P\n') |
while read -r json; do
    dir=$(dirname "$json")
    mkdir -p "$notices/source/$dir"
    cp "$src/$json" "$notices/source/$json"
    python3 - "$src/$json" <<'PY' | while read -r f; do
import json, sys
data = json.load(open(sys.argv[1]), strict=False)
for entry in data if isinstance(data, list) else [data]:
    files = entry.get("LicenseFiles", []) + [entry.get("LicenseFile", "")]
    print("\n".join(f for f in files if f))
PY
        [ -f "$src/$dir/$f" ] || continue
        mkdir -p "$(dirname "$notices/source/$dir/$f")"
        cp "$src/$dir/$f" "$notices/source/$dir/$f"
    done
done
cp -r "$src/LICENSES" "$notices/source/"

touch "$prefix/.complete"
rm -rf "$work"
# Caches of another Qt version or feature set are not used again.
find "$cache" -maxdepth 1 -name 'qt-mingw-*' ! -name "qt-mingw-$key" -exec rm -rf {} +
echo "$prefix"
