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
    *)
        sed -n '/^# Usage/,/^# Every/p' "$0" >&2
        exit 2
        ;;
    esac
    shift 2
done

step() { printf '\n== %s\n' "$*" >&2; }
die() {
    echo "bench: $*" >&2
    exit 1
}

calculator_title='Kalkulator za izračun mešanice Marevo'
baseline_title='Marevo: primerjalno okno'
# The same point of both client areas, where neither has text: inside the
# calculator's light green result panel; plain window background (Fusion's
# window colour) in the baseline. Before its first frame a window shows the
# black root window (Xvfb -br) it lies over.
pixel=12,268
calculator_colour=80ff80
baseline_colour=efefef

step "Setting up"
scripts/setup.sh

step "Building (Release)"
jobs=$(($(nproc) < 2 ? $(nproc) : 2))
if [ -z "$calculator" ]; then
    cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build-bench --target marevo -j "$jobs"
    calculator=$top/build-bench/marevo
fi
cmake -S bench -B build-bench/startup -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench/startup -j "$jobs"
tools=$top/build-bench/startup
baseline=$tools/marevo-baseline
probe=$tools/marevo-probe

work=$(mktemp -d)
pids=() # started here, stopped in reverse order
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap stop_all EXIT
trap 'exit 2' INT TERM HUP

step "Starting Xvfb, a session bus and openbox"
mkdir -p "$work/home" "$work/config" "$work/cache" "$work/runtime"
chmod 700 "$work/runtime"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -br -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || die "Xvfb did not start: $(cat "$work/xvfb.log")"
display=:$(head -n 1 "$work/display")

# A bus of our own: without one, D-Bus would start a bus for the display on the
# first program's behalf, and that program alone would pay for it.
mapfile -t bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("${bus[1]}")

# The programs see this environment and nothing of the caller's.
run_env=(env -i "DISPLAY=$display" "HOME=$work/home" "XDG_CONFIG_HOME=$work/config"
    "XDG_CACHE_HOME=$work/cache" "XDG_RUNTIME_DIR=$work/runtime" "PATH=/usr/bin:/bin"
    "LANG=C.UTF-8" "DBUS_SESSION_BUS_ADDRESS=${bus[0]}" "QT_QPA_PLATFORM=xcb")

"${run_env[@]}" openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    "${run_env[@]}" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
done
"${run_env[@]}" xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
    die "openbox did not start: $(cat "$work/openbox.log")"

# measure NAME [PROBE OPTION...] [-- WRAPPER...]: one start of the named program,
# prints the probe's line.
measure() {
    local name=$1 program title colour
    shift
    case $name in
    calculator) program=$calculator title=$calculator_title colour=$calculator_colour ;;
    baseline) program=$baseline title=$baseline_title colour=$baseline_colour ;;
    esac
    local options=() wrapper=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do
        options+=("$1")
        shift
    done
    [ $# -gt 0 ] && shift && wrapper=("$@")
    "${run_env[@]}" "$probe" --title "$title" --pixel "$pixel" --colour "$colour" \
        --log "$work/$name.log" "${options[@]}" -- "${wrapper[@]}" "$program" ||
        die "$name: no clean start and end (its output: $work/$name.log):
$(tail -n 20 "$work/$name.log")"
}

step "Warming up (2 rounds, not counted)"
for _ in 1 2; do
    measure calculator --settle-ms 200 >/dev/null
    measure baseline --settle-ms 200 >/dev/null
done

step "Timing $rounds interleaved rounds"
: >"$work/times"
for ((r = 1; r <= rounds; r++)); do
    for name in calculator baseline; do
        line=$(measure "$name" --settle-ms 200)
        printf '%s %d %s\n' "$name" "$r" "$line" >>"$work/times"
    done
    printf '.' >&2
done
echo >&2

step "Counting instructions under callgrind ($callgrind_runs runs each)"
: >"$work/instructions"
for ((r = 1; r <= callgrind_runs; r++)); do
    for name in calculator baseline; do
        out=$tools/callgrind.$name.$r
        measure "$name" --settle-ms 500 --poll-us 2000 --timeout 120 -- \
            valgrind --tool=callgrind "--callgrind-out-file=$out" >/dev/null
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
: >"$work/rows"
# field NAME KEY FILE: the values of KEY=... on NAME's lines, one a line.
field() { awk -v name="$1" -v key="$2" '$1 == name {
    for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == key) print kv[2] } }' "$3"; }
# summary NAME KEY FILE SCALE: median, minimum and maximum of NAME's values of KEY, divided by SCALE.
summary() { field "$1" "$2" "$3" | awk -v s="$4" '{ print $1 / s }' | sort -g | awk '{ v[NR] = $1 } END {
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    print m, v[1], v[NR] }'; }
# row LABEL KEY FILE SCALE: adds one table row to $work/rows; leaves both medians in
# c_median and b_median.
row() {
    local c b
    read -r -a c < <(summary calculator "$2" "$3" "$4")
    read -r -a b < <(summary baseline "$2" "$3" "$4")
    c_median=${c[0]} b_median=${b[0]}
    awk -v l="$1" -v cm="${c[0]}" -v cn="${c[1]}" -v cx="${c[2]}" \
        -v bm="${b[0]}" -v bn="${b[1]}" -v bx="${b[2]}" 'BEGIN {
        printf "| %s | %.1f | %.1f | %.1f | %.1f | %.1f | %.1f | %.3f × |\n", \
            l, cm, cn, cx, bm, bn, bx, cm / bm }' >>"$work/rows"
}
ratio() { awk -v c="$c_median" -v b="$b_median" 'BEGIN { printf "%.6f", c / b }'; }
rounded() { awk -v v="$1" -v f="$2" 'BEGIN { printf f, v }'; }

row "window mapped (ms)" mapped_ms "$work/times" 1
row "first painted frame (ms)" painted_ms "$work/times" 1
paint_ratio=$(ratio)
row "peak resident memory (MiB)" maxrss_kb "$work/times" 1024
memory_difference=$(awk -v c="$c_median" -v b="$b_median" 'BEGIN { printf "%+.6f", c - b }')
row "instructions (millions)" ir "$work/instructions" 1000000
instructions_ratio=$(ratio)
# The ratio of each round's two first frames, taken one right after the other.
pair_ratio=$(paste <(field calculator painted_ms "$work/times") \
    <(field baseline painted_ms "$work/times") | awk '{ print $1 / $2 }' | sort -g |
    awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.3f (from %.3f to %.3f)", m, v[1], v[NR] }')

verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v <= t ? "met" : "missed") }'; }

# inclusive NAME PATTERN: instructions spent in and below the first function
# whose name contains PATTERN, in NAME's first callgrind run.
inclusive() {
    awk -v p="$2" 'index($0, p) && $1 ~ /^[0-9,]+$/ { gsub(",", "", $1); printf "%.1f", $1 / 1e6; found = 1; exit }
        END { if (!found) printf "–" }' "$tools/profile.$1.txt"
}
where_row() {
    printf '| %s | %s | %s |\n' "$1" "$(inclusive calculator "$2")" "$(inclusive baseline "$2")"
}

{
    echo "# Start-up benchmark"
    echo
    echo "From \`bench/run.sh\`: the calculator (\`${calculator#"$top"/}\`) against a plain"
    echo "Qt Widgets window of the same client size with the same labels, text boxes, buttons"
    echo "and picture (\`bench/baseline.cpp\`), both Release builds, each started $rounds times, interleaved, on Xvfb"
    echo "under openbox, after 2 uncounted rounds, and measured from outside by"
    echo "\`bench/probe.cpp\`. A run ends with the window manager's close request."
    echo
    echo "- date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "- machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), Linux $(uname -r)"
    echo "- load average at the end: $(cut -d' ' -f1-3 /proc/loadavg) (the machine is shared)"
    echo "- Qt $(dpkg-query -W -f='${Version}' libqt6widgets6 2>/dev/null), $(valgrind --version)"
    changed=$(git diff --name-only HEAD 2>/dev/null | paste -sd' ' -)
    echo "- tree: $(git rev-parse --short HEAD 2>/dev/null || echo '?')${changed:+, with changes not yet committed in: $changed}"
    echo "- rounds: $rounds timed, $callgrind_runs under callgrind for each program"
    echo
    echo "| metric | calculator median | min | max | baseline median | min | max | calculator ÷ baseline |"
    echo "|---|---:|---:|---:|---:|---:|---:|---:|"
    cat "$work/rows"
    echo
    echo "- first painted frame: median of the per-round ratios $pair_ratio"
    echo "- peak resident memory: calculator − baseline $(rounded "$memory_difference" %+.1f) MiB (medians)"
    echo "- the watched pixel at the probe's first look was still unpainted (the black root window showing through) in $(field calculator first_colour "$work/times" | grep -c '^000000$') of $rounds runs of the calculator and $(field baseline first_colour "$work/times" | grep -c '^000000$') of $rounds of the baseline; in the others the probe looked only after the first frame (a busy machine), which makes that run's time late"
    echo
    echo "| target | value | |"
    echo "|---|---:|---|"
    echo "| first painted frame ≤ 1.10 × the baseline's (median ratio) | $(rounded "$paint_ratio" %.3f) × | $(verdict "$paint_ratio" 1.10) |"
    echo "| instructions ≤ 1.10 × the baseline's | $(rounded "$instructions_ratio" %.3f) × | $(verdict "$instructions_ratio" 1.10) |"
    echo "| peak memory ≤ the baseline's + 3 MiB | $(rounded "$memory_difference" %+.1f) MiB | $(verdict "$memory_difference" 3) |"
    echo
    echo "## Where the instructions go"
    echo
    echo "Millions of instructions in and below each function (inclusive), first callgrind run;"
    echo "the whole profiles are in \`build-bench/startup/profile.*.txt\`."
    echo
    echo "| function | calculator | baseline |"
    echo "|---|---:|---:|"
    where_row "the whole run" "PROGRAM TOTALS"
    where_row "dynamic linking before main (\`_dl_start\`)" ":_dl_start "
    where_row "\`QApplication::QApplication\`" ":QApplication::QApplication("
    where_row "font database set-up (\`ensureFontDatabase\`)" "QFontDatabasePrivate::ensureFontDatabase()"
    where_row "font look-ups (\`QFontDatabasePrivate::findFont\`)" "QFontDatabasePrivate::findFont("
    where_row "font engines (\`QFontDatabasePrivate::loadEngine\`)" "QFontDatabasePrivate::loadEngine("
    where_row "fallback fonts (\`fallbacksForFamily\`)" "QFontconfigDatabase::fallbacksForFamily("
    where_row "\`QLineEdit::QLineEdit\`" ":QLineEdit::QLineEdit("
    where_row "the window icon (\`QIcon::addFile\`)" ":QIcon::addFile("
    where_row "pictures from files (\`QPixmap::QPixmap(QString)\`)" "QPixmap::QPixmap(QString const&"
    where_row "loading plugins (\`dlopen\`)" ":dlopen"
    where_row "the event loop (\`QApplication::exec\`)" ":QApplication::exec()"
    where_row "painting (\`QWidgetRepaintManager::paintAndFlush\`)" "QWidgetRepaintManager::paintAndFlush()"
    where_row "text drawing (\`QPainter::drawText\`)" ":QPainter::drawText("
    where_row "\`QLabel::paintEvent\`" ":QLabel::paintEvent("
    where_row "\`QApplication::~QApplication\`" ":QApplication::~QApplication()"
} >"$work/results.md"

mkdir -p "$(dirname "$output")"
cp "$work/results.md" "$output"
cat "$output"
echo >&2
echo "Written to ${output#"$top"/}" >&2
