#!/usr/bin/env bash
# Installs what is missing, builds the calculator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh run
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target marevo
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build/marevo; there is no display to show it on (DISPLAY is not set)." >&2
    exit 1
fi
exec build/marevo
