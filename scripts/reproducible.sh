#!/usr/bin/env bash
# Builds the downloads of the checked-out commit twice with scripts/release.sh, in two clones,
# and checks that they are the same bytes. The second clone is deeper, with a blank in its
# path, made minutes later, and built with another umask, time zone and language. Where the
# downloads differ, diffoscope's first lines tell how.
set -euo pipefail
cd "$(dirname "$0")/.."

git diff --quiet HEAD -- || echo "note: only what is committed is built, not the working tree's changes"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
first=$work/first
second="$work/second/one level deeper/with blanks"

build() { # folder umask TZ locale
    local dir=$1
    mkdir -p "$(dirname "$dir")"
    if ! (umask "$2" && export TZ=$3 LANG=$4 LC_ALL=$4 &&
        git clone -q --no-hardlinks "$PWD" "$dir" && cd "$dir" && scripts/release.sh) \
        >"$work/log" 2>&1; then
        tail -n 40 "$work/log"
        echo "FAIL: scripts/release.sh in $dir"
        return 1
    fi
    echo "built in $dir"
}
build "$first" 022 UTC en_US.UTF-8
build "$second" 077 Pacific/Kiritimati sl_SI.UTF-8

if diff -rq "$first/dist" "$second/dist"; then
    cat "$first/dist/SHA256SUMS"
    echo "the two builds are the same bytes"
    exit 0
fi
for f in "$first"/dist/*; do
    other=$second/dist/${f##*/}
    if [ "${f##*/}" != SHA256SUMS ] && [ -f "$other" ] && ! cmp -s "$f" "$other"; then
        diffoscope --no-progress "$f" "$other" | head -n 60 || true
    fi
done
echo "FAIL: the two builds differ"
exit 1
