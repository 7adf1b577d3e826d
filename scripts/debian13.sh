#!/usr/bin/env bash
# Runs the test suite on Debian 13 from a Debian 12 machine, in a minbase root that debootstrap
# makes once from the machine's own Debian mirror and keeps in the cache. The working tree is
# copied in, then the root's setup installs what running and testing need, and the suite runs.
#
# Everything runs in private mount and PID namespaces, so the stage's mounts and processes end
# with it; the suite also in a network namespace of its own, because X servers in the root
# would otherwise share the machine's abstract X sockets and could take a display in use outside.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=SCRIPTDIR/cache.sh
source scripts/cache.sh
root=$cache/debian13-root

if [ ! -f "$root/.complete" ]; then
    . /etc/os-release
    mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Created-By: Packages' \
        "Release: $VERSION_CODENAME" 'Origin: Debian' | head -n 1)
    [ -n "$mirror" ] || { echo "no Debian mirror for $VERSION_CODENAME in apt's sources" >&2; exit 1; }
    rm -rf "$root"
    debootstrap --variant=minbase trixie "$root" "$mirror" >/dev/null
    touch "$root/.complete"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
rm -rf "$root/src"
mkdir "$root/src"
git ls-files -z --cached --others --exclude-standard | tar -c --null -T - | tar -x -C "$root/src"

# Inside a chroot (a Debian 12 root running the test command) "/" is no mount point and its
# mounts cannot be made private: there the stage's mounts stay in the chroot's namespace.
propagation=private
mountpoint -q / || propagation=unchanged
in_root() { # unshare options... -- command
    local options=()
    while [ "$1" != -- ]; do options+=("$1") && shift; done
    shift
    unshare --mount --propagation "$propagation" --pid --fork --kill-child "${options[@]}" \
        bash -c 'mount --rbind /dev "$0/dev" &&
            mount -t proc proc "$0/proc" && mount -t sysfs sys "$0/sys" &&
            mount -t tmpfs tmp "$0/tmp" && exec chroot "$0" "$@"' "$root" \
        env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 CI="${CI:-}" "$@"
}

in_root -- sh -c 'cd /src && scripts/setup.sh run test'
# The linters read the same sources in the machine's own suite; clang-tidy 19 alone would take
# a quarter of an hour on two cores here.
in_root --net -- sh -c 'cd /src && cmake --preset default >/dev/null && cmake --build build &&
    cd build && ctest --output-on-failure -j "$(nproc)" -LE lint'
