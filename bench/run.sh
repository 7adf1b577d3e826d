#!/usr/bin/env bash
# Start-up benchmark: the calculator against a plain Qt Widgets window with the
# same controls and picture (bench/baseline.cpp), both in Release builds, both
# started on their own X server (Xvfb) under a window manager (openbox) and
# measured from outside by bench/probe.cpp:
#  - time from the start to the window being mapped, and to its first painted
#    frame (a pixel of known colour inside the window), in interleaved rounds;
#  - peak resident memory of each run;
#  - instructions from start to close, under valgrind's callgrind.
# Each run ends with the window manager's close request. Prints the table and
# writes it to bench/results.md. It measures; it never fails on a number.
#
# Usage: bench/run.sh [--rounds N] [--callgrind-runs N] [--calculator PATH] [--output FILE]
#   --rounds          interleaved timing rounds (default 60; at least 20 for a report)
#   --callgrind-runs  runs of each program under callgrind (default 3)
#   --calculator      measure this calculator executable instead of building build-bench/marevo
#   --output          where the table goes (default bench/results.md)
# Every process started here is stopped by its PID when the script ends.
set -euo pipefail
export LC_NUMERIC=C # the numbers printed and read here have a decimal point
cd "$(dirname "$0")/.."
top=$PWD

rounds=60
callgrind_runs=3
calculator=
output=$top/bench/results.md
while [ $# -gt 0 ]; do
    case $1 in
    --rounds) rounds=${2:?--rounds needs a number} ;;
    --callgrind-runs) callgrind_runs=${2:?--callgrind-runs needs a number} ;;
    --calculator) calculator=$(realpath "${2:?--calculator needs a path}") ;;
    --output) output=$(realpath -m "${2:?--output needs a path}") ;;
    *) sed -n '/^# Usage/,/^# Every/p' "$0" >&2 && exit 2 ;;
    esac
    shift 2
done

step() { printf '\n== %s\n' "$*" >&2; }

step "Setting up"
scripts/setup.sh run test bench

step "Building (Release)"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench --target marevo-baseline marevo-probe $([ -n "$calculator" ] || echo marevo) -j 2
calculator=${calculator:-$top/build-bench/marevo}
tools=$top/build-bench/bench

step "Starting Xvfb, a session bus and openbox"
# shellcheck source=../tests/support/x_session.sh
source tests/support/x_session.sh
work=$(mktemp -d)
trap 'set +e; stop_all; rm -rf "$work"' EXIT
trap 'exit 2' INT TERM HUP
logs_on_failure=(xvfb openbox)
require_tools Xvfb openbox xprop dbus-daemon valgrind callgrind_annotate
private_environment
# Before its first frame a window shows the black root window it lies over.
start_x_server -br
# A bus of our own: without one, D-Bus would start a bus for the display on the
# first program's behalf, and that program alone would pay for it.
mapfile -t bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("${bus[1]}")
# The programs see this environment and nothing of the caller's.
run_env=(env -i "DISPLAY=$DISPLAY" "HOME=$work" "XDG_CONFIG_HOME=$XDG_CONFIG_HOME"
    "XDG_CACHE_HOME=$XDG_CACHE_HOME" "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" "PATH=/usr/bin:/bin"
    "LANG=C.UTF-8" "DBUS_SESSION_BUS_ADDRESS=${bus[0]}" "QT_QPA_PLATFORM=xcb")
"${run_env[@]}" openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { "${run_env[@]}" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
within 5 wm_ready || fail "openbox did not start"

# measure NAME SETTLE_MS POLL_US TIMEOUT_S [WRAPPER...]: one start of the named
# program, prints the probe's line.
# The pixel is the same point of both client areas, where neither has text: inside
# the calculator's light green result panel; plain window background (Fusion's
# window colour) in the baseline.
measure() {
    local name=$1 program=$calculator title='Kalkulator za izračun mešanice Marevo' colour=80ff80
    [ "$name" = baseline ] && program=$tools/marevo-baseline title='Marevo: primerjalno okno' colour=efefef
    "${run_env[@]}" "$tools/marevo-probe" "$title" 12,268 "$colour" "$3" "$2" "$4" \
        "$work/$name.log" "${@:5}" "$program" ||
        fail "$name: no clean start and end (its output: $work/$name.log):
$(tail -n 20 "$work/$name.log")"
}

step "Warming up (2 rounds, not counted)"
for _ in 1 2; do
    measure calculator 200 500 10 >/dev/null
    measure baseline 200 500 10 >/dev/null
done

step "Timing $rounds interleaved rounds"
for ((r = 1; r <= rounds; r++)); do
    for name in calculator baseline; do
        line=$(measure "$name" 200 500 10)
        printf '%s %d %s\n' "$name" "$r" "$line" >>"$work/times"
    done
    printf '.' >&2
done
echo >&2

step "Counting instructions under callgrind ($callgrind_runs runs each)"
for ((r = 1; r <= callgrind_runs; r++)); do
    for name in calculator baseline; do
        out=$tools/callgrind.$name.$r
        measure "$name" 500 2000 120 valgrind --tool=callgrind "--callgrind-out-file=$out" >/dev/null
        total=$(awk '/^(totals|summary):/ { print $2; exit }' "$out")
        printf '%s %d ir=%s\n' "$name" "$r" "$total" >>"$work/instructions"
        printf '.' >&2
    done
done
echo >&2
for name in calculator baseline; do
    callgrind_annotate --inclusive=yes --threshold=100 "$tools/callgrind.$name.1" \
        >"$tools/profile.$name.txt" 2>/dev/null
done

step "Results"
# field NAME KEY FILE: the values of KEY=... on NAME's lines, one a line.
field() { awk -v name="$1" -v key="$2=" '$1 == name {
    for (i = 3; i <= NF; i++) if (index($i, key) == 1) print substr($i, length(key) + 1) }' "$3"; }
# Median, minimum and maximum of the numbers read, one a line.
spread() { sort -g | awk '{ v[NR] = $1 } END { print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2, v[1], v[NR] }'; }
calc() { awk "BEGIN { printf \"$1\", $2 }"; }
# row LABEL KEY FILE SCALE: one row of the table in $work/rows; the ratio of the medians
# (calculator ÷ baseline) in ratio, their difference in difference.
row() {
    local c b
    read -r -a c < <(field calculator "$2" "$3" | awk -v s="$4" '{ print $1 / s }' | spread)
    read -r -a b < <(field baseline "$2" "$3" | awk -v s="$4" '{ print $1 / s }' | spread)
    ratio=$(calc %.6f "${c[0]} / ${b[0]}") difference=$(calc %+.6f "${c[0]} - ${b[0]}")
    printf '| %s | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.3f × |\n' "$1" "${c[@]}" "${b[@]}" \
        "$ratio" >>"$work/rows"
}
row "window mapped (ms)" mapped_ms "$work/times" 1
row "first painted frame (ms)" painted_ms "$work/times" 1
paint_ratio=$ratio
row "peak resident memory (MiB)" maxrss_kb "$work/times" 1024
memory_difference=$difference
row "instructions (millions)" ir "$work/instructions" 1000000
instructions_ratio=$ratio
# The ratio of each round's two first frames, taken one right after the other.
read -r -a pairs < <(paste <(field calculator painted_ms "$work/times") \
    <(field baseline painted_ms "$work/times") | awk '{ print $1 / $2 }' | spread)
verdict() { calc %s "$1 <= $2 ? \"met\" : \"missed\""; }
unpainted() { field "$1" first_colour "$work/times" | grep -c '^000000$'; }
# inclusive NAME PATTERN: instructions spent in and below the first function
# whose name contains PATTERN, in NAME's first callgrind run.
inclusive() {
    awk -v p="$2" 'index($0, p) && $1 ~ /^[0-9,]+$/ { gsub(",", "", $1); printf "%.1f", $1 / 1e6; found = 1; exit }
        END { if (!found) printf "–" }' "$tools/profile.$1.txt"
}
changed=$(git diff --name-only HEAD 2>/dev/null | paste -sd' ' -)

cat >"$work/results.md" <<EOF
# Start-up benchmark

From \`bench/run.sh\`: the calculator (\`${calculator#"$top"/}\`) against a plain
Qt Widgets window of the same client size with the same labels, text boxes, buttons
and picture (\`bench/baseline.cpp\`), both Release builds, each started $rounds times, interleaved, on Xvfb
under openbox, after 2 uncounted rounds, and measured from outside by
\`bench/probe.cpp\`. A run ends with the window manager's close request.

- date: $(date -u '+%Y-%m-%d %H:%M UTC')
- machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), Linux $(uname -r)
- load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) (the machine is shared)
- Qt $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null), $(valgrind --version)
- tree: $(git rev-parse --short HEAD 2>/dev/null || echo '?')${changed:+, with changes not yet committed in: $changed}
- rounds: $rounds timed, $callgrind_runs under callgrind for each program

| metric | calculator median | min | max | baseline median | min | max | calculator ÷ baseline |
|---|---:|---:|---:|---:|---:|---:|---:|
$(cat "$work/rows")

- first painted frame: median of the per-round ratios $(calc %.3f "${pairs[0]}") (from $(calc %.3f "${pairs[1]}") to $(calc %.3f "${pairs[2]}"))
- peak resident memory: calculator − baseline $(calc %+.1f "$memory_difference") MiB (medians)
- the watched pixel at the probe's first look was still unpainted (the black root window showing through) in $(unpainted calculator) of $rounds runs of the calculator and $(unpainted baseline) of $rounds of the baseline; in the others the probe looked only after the first frame (a busy machine), which makes that run's time late

| target | value | |
|---|---:|---|
| first painted frame ≤ 1.10 × the baseline's (median ratio) | $(calc %.3f "$paint_ratio") × | $(verdict "$paint_ratio" 1.10) |
| instructions ≤ 1.10 × the baseline's | $(calc %.3f "$instructions_ratio") × | $(verdict "$instructions_ratio" 1.10) |
| peak memory ≤ the baseline's + 3 MiB | $(calc %+.1f "$memory_difference") MiB | $(verdict "$memory_difference" 3) |

## Where the instructions go

Millions of instructions in and below each function (inclusive), first callgrind run;
the whole profiles are in \`build-bench/bench/profile.*.txt\`.

| function | calculator | baseline |
|---|---:|---:|
$(while IFS='|' read -r label pattern; do
    printf '| %s | %s | %s |\n' "$label" "$(inclusive calculator "$pattern")" "$(inclusive baseline "$pattern")"
done <<'ROWS'
the whole run|PROGRAM TOTALS
dynamic linking before main (`_dl_start`)|:_dl_start 
`QApplication::QApplication`|:QApplication::QApplication(
font database set-up (`ensureFontDatabase`)|QFontDatabasePrivate::ensureFontDatabase()
font look-ups (`QFontDatabasePrivate::findFont`)|QFontDatabasePrivate::findFont(
font engines (`QFontDatabasePrivate::loadEngine`)|QFontDatabasePrivate::loadEngine(
fallback fonts (`fallbacksForFamily`)|QFontconfigDatabase::fallbacksForFamily(
`QLineEdit::QLineEdit`|:QLineEdit::QLineEdit(
pictures from files (`QPixmap::QPixmap(QString)`)|QPixmap::QPixmap(QString const&
loading plugins (`dlopen`)|:dlopen
the event loop (`QApplication::exec`)|:QApplication::exec()
painting (`QWidgetRepaintManager::paintAndFlush`)|QWidgetRepaintManager::paintAndFlush()
text drawing (`QPainter::drawText`)|:QPainter::drawText(
`QLabel::paintEvent`|:QLabel::paintEvent(
`QApplication::~QApplication`|:QApplication::~QApplication()
ROWS
)
EOF

mkdir -p "$(dirname "$output")"
cp "$work/results.md" "$output"
cat "$output"
echo "Written to ${output#"$top"/}" >&2
