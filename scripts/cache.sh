# shellcheck shell=bash
# Where the test command keeps what takes long to make and stays the same from run to run: Qt
# for Windows and the Debian 13 root. MAREVO_CACHE puts it elsewhere.
cache=${MAREVO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kalkulator-marevo}
