#!/usr/bin/env bash
# Installs the Debian packages for one or more purposes, only what is missing, so a second run
# costs a few milliseconds. Works on Debian 12 and 13 alike.
#
# Usage: scripts/setup.sh [run] [test] [windows] [release] [bench] [icons]   (no purpose: run)
#   run      build and start the calculator
#   test     the test suite: real X servers and window managers, the accessibility bus, the
#            sanitizers and the fuzzer, the linters, the packaging checks, the Debian 13 root
#   windows  cross-build the Windows downloads and check them under Wine
#   release  build the downloads (scripts/release.sh)
#   bench    the start-up benchmark
#   icons    remake the icon's sizes and marevo.ico from icon.svg (resources/derive_icons.sh)
set -euo pipefail

run=(
    build-essential cmake ninja-build pkg-config libxcb1-dev
    qt6-base-dev qt6-base-dev-tools qt6-l10n-tools qt6-tools-dev
    # the stand-in for "MS Sans Serif" and the font configuration that finds it
    fonts-liberation2 fontconfig
)
test=(
    clang clang-format clang-tidy libclang-rt-dev
    xvfb xauth openbox xfwm4 x11-utils xdotool wmctrl procps
    # GNOME's and KDE Plasma's window managers, a Wayland session with XWayland, Wayland itself
    mutter kwin-x11 kwin-wayland weston xwayland qt6-wayland
    dbus dbus-x11 at-spi2-core python3 python3-pyatspi python3-gi gir1.2-atspi-2.0
    # the GTK platform theme that Debian's Qt recommends, as users have it; the screenshots
    imagemagick qt6-gtk-platformtheme
    # the .deb and its validators, the Windows resource script's compiler
    dpkg-dev file desktop-file-utils appstream lintian binutils-mingw-w64-x86-64
    debootstrap
    # what tells two builds of the downloads apart
    diffoscope-minimal
)
# Qt's build from Debian's source (perl for its header generation), the installer maker, Wine
# with its fonts, the locales of the regional settings the checks run in, and the screenshot
# text recognition that reads the result off the installed program's window.
windows=(
    g++-mingw-w64-x86-64-posix perl nsis wine wine64 fonts-wine locales
    tesseract-ocr tesseract-ocr-eng
)
# The .deb's dependencies; for the Windows downloads MinGW, Qt's build (perl, python3 for the
# notices), the installer maker, and what gives the .zip's entries one owner; the time zones
# and locales a second build is checked in.
release=(dpkg-dev file g++-mingw-w64-x86-64-posix perl python3 nsis strip-nondeterminism
    tzdata locales)
bench=(valgrind)
icons=(librsvg2-bin icoutils)

[ $# -gt 0 ] || set -- run
packages=()
for purpose in "$@"; do
    case $purpose in
    run | test | windows | release | bench | icons)
        declare -n list=$purpose
        packages+=("${list[@]}")
        unset -n list
        ;;
    *) sed -n '/^# Usage/,/^set/p' "$0" | sed '$d' >&2 && exit 2 ;;
    esac
done

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
    apt=("${sudo[@]}" apt-get -qq -o DPkg::Lock::Timeout=600)
    "${apt[@]}" update
    "${apt[@]}" install -y --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes the Windows regional settings from the Linux locale, which must exist; a second
# build of the downloads is checked in Slovenian.
if [[ " $* " == *" windows "* || " $* " == *" release "* ]]; then
    available=$(locale -a)
    for l in en_US sl_SI; do
        grep -qx "$l.utf8" <<<"$available" || "${sudo[@]}" localedef -i "$l" -f UTF-8 "$l.UTF-8"
    done
fi
