#!/usr/bin/env bash
# Installs every Debian package that building, running, testing, packaging and
# benchmarking the calculator need. Only what is missing is installed, so a
# second run costs a few milliseconds.
set -euo pipefail

packages=(
    # build
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-qpa-plugins libxcb1-dev
    clang clang-format clang-tidy libclang-rt-14-dev
    # run: the stand-in for "MS Sans Serif" and a font configuration
    fonts-liberation2 fontconfig
    # tests under a real X server, with two window managers and an accessibility bus
    xvfb xauth openbox xfwm4 x11-utils xdotool procps
    dbus dbus-x11 at-spi2-core python3 python3-pyatspi python3-gi gir1.2-atspi-2.0
    # packaging and its validators, the Windows resource compiler
    dpkg-dev file desktop-file-utils appstream binutils-mingw-w64-x86-64
    # start-up benchmark
    valgrind
    # Windows: the MinGW cross compiler, Qt's build from Debian's source (perl for its
    # header generation), the installer maker, Wine to test both with its fonts ("MS Sans
    # Serif" among them), the locales of the regional settings the tests run in, and the
    # screenshot and text recognition that read the result off the installed program's window
    g++-mingw-w64-x86-64-posix perl nsis wine wine64 fonts-wine locales
    imagemagick tesseract-ocr tesseract-ocr-eng
)

# Wine takes the Windows regional settings from the Linux locale, which must exist.
locales=(en_US sl_SI)

installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null |
    awk '$2 == "installed" { print $1 }' || true)
missing=()
for p in "${packages[@]}"; do
    grep -qx "$p" <<<"$installed" || missing+=("$p")
done
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

available=$(locale -a)
for l in "${locales[@]}"; do
    grep -qx "$l.utf8" <<<"$available" || "${sudo[@]}" localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
