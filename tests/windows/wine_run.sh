#!/usr/bin/env bash
# Runs a test program of the Windows build under Wine; ctest's emulator there.
# Usage: wine_run.sh QT_PREFIX WINE_PREFIX PROGRAM [ARGUMENT...]
# Qt's and MinGW's libraries are taken from where they were built. The Wine prefix is the
# build's own, made on first use, so the user's own Wine setup stays untouched.
set -euo pipefail
qt=$1 prefix=$2
shift 2

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
runtime_dir() { dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name="$1")"; }

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$(windows_path "$qt/bin");$(windows_path "$(runtime_dir libstdc++-6.dll)");$(windows_path "$(runtime_dir libwinpthread-1.dll)")"
export QT_PLUGIN_PATH=$(windows_path "$qt/plugins")
# Qt Test's report goes to the debugger unless Qt believes a console is attached.
export QT_ASSUME_STDERR_HAS_CONSOLE=1
# The offscreen platform reads fonts from a folder: the Linux build's font.
export QT_QPA_FONTDIR=$(windows_path /usr/share/fonts/truetype/liberation2)
# Wine keeps QT_* variables of the Linux side away from Windows programs, and hands on
# WINEQT_* under their own names instead.
while IFS= read -r name; do
    export "WINE$name=${!name}"
done < <(compgen -e | grep '^QT_')
exec wine "$@"
