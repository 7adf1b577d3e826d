#!/usr/bin/env bash
# Start-up of the Windows build under Wine: the calculator against the plain Qt window of
# bench/baseline.cpp, both built from the Qt-for-Windows cache with the release's static Qt,
# toolchain and stripping (the preset "windows-bench"), with Wine's own notepad beside them as a
# native program. On a private X server under openbox with one fresh Wine prefix, each is started
# ROUNDS times, interleaved (every other round in the opposite order), after one round not
# counted, and timed from its start to its main window being mapped. Programs given as
# NAME=PROGRAM.exe (another build of either window) join the rounds. Prints the table and writes
# it into bench/results.md (or FILE); it measures, and never fails on a number.
#
# Usage: bench/windows.sh [-n ROUNDS] [-o FILE] [NAME=PROGRAM.exe...]   (default 20 rounds)
set -euo pipefail
export LC_NUMERIC=C # the numbers printed and read here have a decimal point
cd "$(dirname "$0")/.."
rounds=20 output=bench/results.md
while getopts n:o: option; do
    case $option in
    n) rounds=$OPTARG ;;
    o) output=$OPTARG ;;
    *) sed -n 's/^# Usage: //p' "$0" >&2 && exit 2 ;;
    esac
done
shift $((OPTIND - 1))
output=$(realpath -m "$output")

scripts/setup.sh run test windows
MAREVO_WINDOWS_QT=$(scripts/windows-qt.sh)
export MAREVO_WINDOWS_QT
cmake --preset windows-bench >/dev/null
cmake --build build-windows-bench --target marevo marevo-baseline -j 2
bin=$PWD/build-windows-bench

# shellcheck source=SCRIPTDIR/../tests/support/x_session.sh
source tests/support/x_session.sh
# shellcheck source=SCRIPTDIR/results.sh
source bench/results.sh
require_tools Xvfb openbox xdotool wine wineserver x86_64-w64-mingw32-strip
# shellcheck disable=SC2034 # read by fail()
logs_on_failure=(wine)
start_x_session --cleanup 'wineserver -k 2>/dev/null'
start_wine_desktop

# The programs as the release ships them: stripped as they are installed.
mkdir "$work/programs"
cp "$bin/marevo.exe" "$bin/marevo-baseline.exe" "$work/programs/"
x86_64-w64-mingw32-strip --strip-unneeded "$work/programs/"*.exe
calculator_title='Kalkulator za izračun mešanice Marevo'
baseline_title='Marevo: primerjalno okno'
# NAME, what wine starts, and the title of its main window; Wine's notepad is in the prefix.
programs=("calculator|$work/programs/marevo.exe|$calculator_title"
    "baseline|$work/programs/marevo-baseline.exe|$baseline_title"
    "notepad|notepad|Untitled - Notepad")
for arg in "$@"; do
    [[ $arg == ?*=?* ]] || { sed -n 's/^# Usage: //p' "$0" >&2 && exit 2; }
    programs+=("${arg%%=*}|$(realpath "${arg#*=}")|$calculator_title|$baseline_title")
done

# mapped TITLE...: whether a window with one of these titles is shown.
mapped() {
    local IFS='|'
    xdotool search --onlyvisible --name "^($*)\$" &>/dev/null
}

gone() { ! mapped "$@"; }

# start PROGRAM TITLE...: milliseconds from its start to its window mapped; then it is ended.
start() {
    local begin end pid program=$1
    shift
    begin=$(date +%s%N)
    wine "$program" >>"$work/wine.log" 2>&1 &
    pid=$!
    until mapped "$@"; do
        kill -0 "$pid" 2>/dev/null || fail "$program ended before its window showed"
        sleep 0.005
    done
    end=$(date +%s%N)
    kill "$pid" && wait "$pid" 2>/dev/null
    within 20 gone "$@" || fail "$program did not end"
    echo $(((end - begin) / 1000000))
}

echo "Timing $rounds interleaved rounds after one not counted" >&2
reversed=()
for program in "${programs[@]}"; do reversed=("$program" "${reversed[@]}"); done
for ((r = 0; r <= rounds; r++)); do
    order=("${programs[@]}")
    ((r % 2 == 0)) || order=("${reversed[@]}")
    for program in "${order[@]}"; do
        IFS='|' read -r -a fields <<<"$program"
        ms=$(start "${fields[@]:1}")
        [ "$r" -eq 0 ] || echo "${fields[0]} $ms" >>"$work/times"
    done
done

baseline_median=$(awk '$1 == "baseline" { print $2 }' "$work/times" | median)
# row NAME FILE: the program's median, range and size, and its median against the baseline's.
row() {
    local times size=''
    times=$(awk -v n="$1" '$1 == n { print $2 }' "$work/times" | sort -n)
    [ -f "$2" ] && size=$(stat -c %s "$2")
    awk -v name="$1" -v size="$size" -v m="$(median <<<"$times")" -v b="$baseline_median" \
        -v fastest="$(head -n 1 <<<"$times")" -v slowest="$(tail -n 1 <<<"$times")" \
        'BEGIN { printf "| %s | %s | %.0f | %.3f × | %d | %d |\n", name, size, m, m / b,
            fastest, slowest }'
}

{
    cat <<EOF
## Windows, under Wine

From \`bench/windows.sh\`: the calculator against the plain Qt window (\`bench/baseline.cpp\`),
both built for Windows with the release's static Qt, toolchain and stripping, and Wine's own
notepad as a native program, on Xvfb under openbox with one fresh Wine prefix, each timed
$rounds times, interleaved, from its start to its main window being mapped. Medians. The
calculator's main window is a dialog to Qt, as it is to Windows, and so skips the graphics-card
probe Qt makes before it places a plain window.

- date: $(date -u '+%Y-%m-%d %H:%M UTC'); commit $(git describe --always --dirty 2>/dev/null || echo '?')
- machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), load $(cut -d' ' -f1-3 /proc/loadavg) at the end (it is shared)
- $(wine --version 2>/dev/null), Qt $(dpkg-query -W -f='${Version}' qt6-base-dev) for Windows, $(x86_64-w64-mingw32-g++-posix --version | head -n 1)

| program | size (bytes) | median (ms) | ÷ the baseline's | fastest | slowest |
|---|---:|---:|---:|---:|---:|
EOF
    for program in "${programs[@]}"; do
        IFS='|' read -r -a fields <<<"$program"
        row "${fields[0]}" "${fields[1]}"
    done
} >"$work/section.md"
write_section "$output" "$work/section.md"
cat "$work/section.md"
