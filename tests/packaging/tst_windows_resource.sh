#!/usr/bin/env bash
# Compiles the Windows resource script with MinGW's windres, as a MinGW build of the program
# would, and checks the icon and the version record in the result.
# Usage: tst_windows_resource.sh MAREVO_RC MAREVO_ICO
set -euo pipefail
rc=$1 ico=$2
here=$(dirname "$0")

windres=x86_64-w64-mingw32-windres
objdump=x86_64-w64-mingw32-objdump
if ! command -v "$windres" >/dev/null; then
    echo "FAIL: no $windres (Debian package binutils-mingw-w64-x86-64)"
    exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Without MinGW's C compiler windres cannot run its default preprocessor; the host's serves.
preprocessor=(--preprocessor=cpp --preprocessor-arg=-xc --preprocessor-arg=-DRC_INVOKED)
"$windres" "${preprocessor[@]}" -O res "$rc" "$tmp/marevo.res"
"$windres" "${preprocessor[@]}" -O coff "$rc" "$tmp/marevo.o"

# The object a MinGW link takes must carry the resources in its .rsrc section.
sections=$("$objdump" -h "$tmp/marevo.o")
[[ "$sections" == *" .rsrc "* ]] || { echo "FAIL: no .rsrc section"; exit 1; }

/usr/bin/python3 "$here/check_windows_resource.py" "$tmp/marevo.res" "$ico"
echo "marevo.rc: icon and version record as expected"
