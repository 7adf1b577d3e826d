#!/usr/bin/env bash
# Runs a test program of the Windows build under Wine; ctest's emulator there.
# Usage: wine_run.sh WINE_PREFIX PROGRAM [ARGUMENT...]
# The programs have Qt, its plugins and the MinGW runtime linked in. The Wine prefix is the
# build's own, made on first use, so the user's own Wine setup stays untouched.
set -euo pipefail
prefix=$1
shift

# shellcheck source=SCRIPTDIR/../support/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/wine.sh"
use_wine_prefix "$prefix"
# Qt Test's report goes to the debugger unless Qt believes a console is attached.
export QT_ASSUME_STDERR_HAS_CONSOLE=1
# Wine keeps QT_* variables of the Linux side away from Windows programs, and hands on
# WINEQT_* under their own names instead.
while IFS= read -r name; do
    export "WINE$name=${!name}"
done < <(compgen -e | grep '^QT_')
exec wine "$@"
