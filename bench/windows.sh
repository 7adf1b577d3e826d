#!/usr/bin/env bash
# Start-up of Windows builds under Wine, side by side: each program is started ROUNDS times,
# interleaved (every other round in the opposite order), after one round not counted, on a
# private X server under openbox with one Wine prefix, and timed from its start to its main
# window being mapped. Prints the median and the range of each; it measures, and never fails
# on a number.
#
# Usage: bench/windows.sh [-n ROUNDS] NAME=PROGRAM.exe...   (default 10 rounds)
#        e.g. bench/windows.sh old=/tmp/old/marevo.exe new=build-windows/marevo.exe
set -euo pipefail
export LC_NUMERIC=C
rounds=10
if [ "${1:-}" = -n ]; then
    rounds=$2
    shift 2
fi
[ $# -gt 0 ] || { sed -n 's/^# Usage: //p' "$0" >&2 && exit 2; }

# shellcheck source=SCRIPTDIR/../tests/support/x_session.sh
source "$(dirname "$0")/../tests/support/x_session.sh"
require_tools Xvfb openbox xdotool wine wineserver
# shellcheck disable=SC2034 # read by fail()
logs_on_failure=(wine)
start_x_session --cleanup 'wineserver -k 2>/dev/null'
start_wine_desktop

mapped() { xdotool search --onlyvisible --name '^Kalkulator za izračun mešanice Marevo$' &>/dev/null; }

# start PROGRAM: milliseconds from its start to its window mapped; then it is ended.
start() {
    local begin end pid
    begin=$(date +%s%N)
    wine "$1" >>"$work/wine.log" 2>&1 &
    pid=$!
    until mapped; do
        kill -0 "$pid" 2>/dev/null || fail "$1 ended before its window showed"
        sleep 0.005
    done
    end=$(date +%s%N)
    kill "$pid" && wait "$pid" 2>/dev/null
    within 20 eval '! mapped' || fail "$1 did not end"
    echo $(((end - begin) / 1000000))
}

# Every other round in the opposite order, so that neither always comes first.
reversed=()
for arg in "$@"; do reversed=("$arg" "${reversed[@]}"); done
for ((r = 0; r <= rounds; r++)); do
    order=("$@")
    ((r % 2 == 0)) || order=("${reversed[@]}")
    for arg in "${order[@]}"; do
        ms=$(start "${arg#*=}")
        [ "$r" -eq 0 ] || echo "${arg%%=*} $ms" >>"$work/times"
    done
done
printf '| program | size (bytes) | median (ms) | fastest | slowest |\n|---|---:|---:|---:|---:|\n'
for arg in "$@"; do
    name=${arg%%=*}
    times=$(awk -v n="$name" '$1 == n { print $2 }' "$work/times" | sort -n)
    printf '| %s | %d | %.0f | %d | %d |\n' "$name" "$(stat -c %s "${arg#*=}")" \
        "$(median <<<"$times")" "$(head -n 1 <<<"$times")" "$(tail -n 1 <<<"$times")"
done
echo "$rounds rounds, $(date -u '+%F %H:%M UTC'), load $(cut -d' ' -f1-3 /proc/loadavg)"
