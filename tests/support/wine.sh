# shellcheck shell=bash
# The Wine that runs the Windows build, here and in the build's tests: a prefix of its own,
# quiet, and without the .NET and Gecko installers that a new prefix would otherwise fetch.
use_wine_prefix() { # prefix
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}
