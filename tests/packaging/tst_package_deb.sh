#!/usr/bin/env bash
# Builds the .deb with CPack, unpacks it into a temporary root and checks what it would install:
# the control fields, the files with their owners and modes, the desktop entry and metainfo
# under their validators, how a desktop menu sees the calculator, and the program's version.
# Usage: tst_package_deb.sh CPACK_CONFIG OUT_DIR APP_ID SOURCE_DIR PROJECT_VERSION
# The package is left in OUT_DIR.
set -euo pipefail
cpack_config=$1 out=$2 app_id=$3 source_dir=$4 project_version=$5
here=$(cd "$(dirname "$0")" && pwd)

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "FAIL: no $tool (see scripts/setup.sh)"; exit 1; }
done

IFS=. read -r major minor patch _ <<<"$project_version"
version="$major.$minor.$patch"
package=kalkulator-marevo
arch=$(dpkg --print-architecture)

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

mkdir -p "$out"
rm -rf "$out/_CPack_Packages" "$out"/*.deb
if ! cpack --config "$cpack_config" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    echo "FAIL: cpack"
    exit 1
fi
deb="$out/${package}_${version}_${arch}.deb"
[ -f "$deb" ] || { ls "$out"; echo "FAIL: no $deb"; exit 1; }
echo "built $deb"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = "$package" ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
maintainer=$(field Maintainer)
[[ "$maintainer" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer: $maintainer"
description=$(field Description)
[ "$(wc -l <<<"$description")" -ge 2 ] || fail "Description without a long description"
[ "$(awk 'length > 80' <<<"$description")" = "" ] || fail "Description lines over 80 columns"
depends=$(field Depends)
# Versioned Qt libraries only come from dpkg-shlibdeps (Debian 13 names Qt Core libqt6core6t64).
for dependency in 'libqt6core6* (>=' 'libqt6gui6 (>=' 'libqt6widgets6 (>=' 'libc6 (>=' \
    'libstdc++6 (>=' 'fonts-liberation (>= 1:2) | fonts-liberation2'; do
    # shellcheck disable=SC2053 # the dependency is a pattern
    [[ ", $depends" == *", "$dependency* ]] || fail "Depends lacks $dependency: $depends"
done

# Files, with owners and modes: exactly these, root's, the program executable.
expected_files=$(
    {
        echo "-rwxr-xr-x ./usr/bin/marevo"
        echo "-rw-r--r-- ./usr/share/applications/$app_id.desktop"
        echo "-rw-r--r-- ./usr/share/metainfo/$app_id.metainfo.xml"
        for size in 16 32 48 64 128 256; do
            echo "-rw-r--r-- ./usr/share/icons/hicolor/${size}x$size/apps/$app_id.png"
        done
        echo "-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$app_id.svg"
        echo "-rw-r--r-- ./usr/share/doc/$package/copyright"
    } | sort
)
listing=$(dpkg-deb -c "$deb")
actual_files=$(awk '$1 !~ /^d/ { print $1, $6 }' <<<"$listing" | sort)
if [ "$actual_files" != "$expected_files" ]; then
    fail "the package's files differ from the expected ones:"
    diff <(echo "$expected_files") <(echo "$actual_files") || true
fi
wrong=$(awk '$2 != "root/root" || ($1 ~ /^d/ && $1 != "drwxr-xr-x")' <<<"$listing")
[ -z "$wrong" ] || fail "owner or mode:"$'\n'"$wrong"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

[[ "$(file -b "$root/usr/bin/marevo")" == *", stripped"* ]] || fail "usr/bin/marevo is not stripped"
grep -q '^Permission is hereby granted' "$root/usr/share/doc/$package/copyright" ||
    fail "copyright does not hold the MIT licence"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
# --strict fails on warnings and infos too; only pedantic hints may remain. AppStream before 1.0
# (Debian 12) does not know the <developer> element yet and says so as an info.
strict=--strict
[[ "$(appstreamcli --version)" == *" 0."* ]] && strict=
appstreamcli validate --no-net $strict "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

/usr/bin/python3 "$here/check_installed_tree.py" "$root" "$app_id" "$source_dir" "$version" ||
    fail "installed tree"

[ "$failures" -eq 0 ] || exit 1
echo "$deb: as expected"
