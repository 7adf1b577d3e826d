#!/usr/bin/env bash
# Builds the .deb with CPack and checks it as a Debian developer would, with lintian, then
# unpacked: the desktop entry and metainfo under their validators, and how a desktop's menu sees
# the calculator.
# Usage: tst_package_deb.sh CPACK_CONFIG OUT_DIR APP_ID SOURCE_DIR
# The package is left in OUT_DIR.
set -euo pipefail
cpack_config=$1 out=$2 app_id=$3 source_dir=$4
here=$(cd "$(dirname "$0")" && pwd)

for tool in cpack dpkg-deb dpkg-shlibdeps lintian desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null || { echo "FAIL: no $tool (see scripts/setup.sh)"; exit 1; }
done

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
debs=("$out"/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { ls "$out"; echo "FAIL: not one .deb"; exit 1; }
deb=${debs[0]}
echo "built $deb"

if ! lintian --fail-on error,warning --suppress-tags-from-file "$here/lintian.suppress" "$deb" \
    >"$out/lintian.log" 2>&1; then
    cat "$out/lintian.log"
    fail lintian
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
# --strict fails on warnings and infos too; only pedantic hints may remain. AppStream before 1.0
# (Debian 12) does not know the <developer> element yet and says so as an info.
strict=--strict
[[ "$(appstreamcli --version)" == *" 0."* ]] && strict=
appstreamcli validate --no-net $strict "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"

/usr/bin/python3 "$here/check_installed_tree.py" "$root" "$app_id" "$source_dir" ||
    fail "installed tree"

[ "$failures" -eq 0 ] || exit 1
echo "$deb: as expected"
