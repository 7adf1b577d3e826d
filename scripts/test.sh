#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite under ctest,
# the same suite again with AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer on), the fuzzer on the blend calculation for a minute, the
# Windows build with its checks under Wine, the downloads built twice to the
# same bytes, and, on Debian 12, the suite again in a Debian 13 root. Every
# stage runs, whatever an earlier one did; the last line counts them, and the
# exit status is non-zero when any failed.
#
# Usage: scripts/test.sh [suite] [sanitized] [fuzz] [windows] [reproducible] [debian13]  (none: all)
set -uo pipefail
cd "$(dirname "$0")/.."
. /etc/os-release
all=(suite sanitized fuzz windows reproducible)
# On Debian 13 the machine itself is the Debian 13 run.
[ "$VERSION_ID" = 12 ] && all+=(debian13)
[ $# -gt 0 ] || set -- "${all[@]}"
jobs=$(nproc)
passed=0 failed=0 failures=()

stage() { # name command...
    local name=$1
    shift
    printf '\n== %s\n' "$name"
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        failures+=("$name")
    fi
}

suite() {
    cmake --preset default >/dev/null &&
        cmake --build build -j "$jobs" &&
        (cd build && ctest --output-on-failure -j "$jobs")
}

sanitized_suite() {
    cmake --preset asan >/dev/null &&
        cmake --build build-asan -j "$jobs" &&
        (
            export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:fast_unwind_on_malloc=0:suppressions=$PWD/tests/asan.supp"
            export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp"
            export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
            # Qt 6.8 never frees its query of the desktop portal when the program ends before
            # the answer comes, and LeakSanitizer would fail the real program's runs for it.
            export QT_NO_XDG_DESKTOP_PORTAL=1
            cd build-asan && ctest --output-on-failure -j "$jobs" -LE lint
        )
}

fuzz() {
    cmake --preset fuzz >/dev/null &&
        cmake --build build-fuzz -j "$jobs" || return 1
    local corpus status
    corpus=$(mktemp -d)
    build-fuzz/tests/fuzz/fuzz_blend -max_total_time="${MAREVO_FUZZ_SECONDS:-60}" \
        -print_final_stats=1 "$corpus" tests/fuzz/corpus >"$corpus.log" 2>&1
    status=$?
    tail -n 12 "$corpus.log"
    rm -rf "$corpus" "$corpus.log"
    [ "$status" -eq 0 ] && echo "fuzz: no crash, no sanitizer report"
}

for name in "$@"; do
    [[ " ${all[*]} debian13 " == *" $name "* ]] || { sed -n 's/^# Usage: //p' "$0" >&2 && exit 2; }
done
purposes=(run test)
[[ " $* " == *" windows "* ]] && purposes+=(windows)
[[ " $* " == *" reproducible "* ]] && purposes+=(windows release)
stage "Setting up" scripts/setup.sh "${purposes[@]}"
for name in "$@"; do
    case $name in
    suite) stage "Building and testing" suite ;;
    sanitized) stage "Building and testing with sanitizers" sanitized_suite ;;
    fuzz) stage "Fuzzing the blend calculation" fuzz ;;
    windows) stage "Windows: building, packaging and testing under Wine" scripts/windows.sh -DMAREVO_WERROR=ON ;;
    reproducible) stage "The downloads: built twice, the same bytes" scripts/reproducible.sh ;;
    debian13) stage "Debian 13: the suite in a Debian 13 root" scripts/debian13.sh ;;
    esac
done

echo
[ ${#failures[@]} -eq 0 ] || printf 'failed stage: %s\n' "${failures[@]}"
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
