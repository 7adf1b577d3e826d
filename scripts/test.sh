#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the suite under ctest,
# the same suite again with AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer on), and the fuzzer on the blend calculation for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

step() { printf '\n== %s\n' "$*"; }

step "Setting up"
scripts/setup.sh

step "Building and testing"
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

step "Building and testing with sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMAREVO_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:suppressions=$PWD/tests/asan.supp"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
(cd build-asan && ctest --output-on-failure -j "$jobs" -LE lint)

step "Fuzzing the blend calculation"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DMAREVO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
build-fuzz/tests/fuzz/fuzz_blend -max_total_time="${MAREVO_FUZZ_SECONDS:-60}" \
    -print_final_stats=1 "$corpus" tests/fuzz/corpus 2>&1 | tail -n 12
echo "fuzz: no crash, no sanitizer report"
echo "stages: 3 passed, 0 failed"
