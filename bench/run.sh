#!/usr/bin/env bash
# Start-up benchmark: the calculator against a plain Qt Widgets window with the same controls and
# picture (bench/baseline.cpp), both Release builds (the preset "bench"), on their own Xvfb under
# openbox. In interleaved rounds bench/probe.cpp times each from outside to its first painted
# frame and takes its peak memory from wait4; callgrind then counts the instructions of one run
# of each, start to close. Prints the table and writes it into bench/results.md (or FILE); it
# measures, and never fails on a number.
#
# Usage: bench/run.sh [ROUNDS [FILE]]     (default 20 rounds)
set -euo pipefail
export LC_NUMERIC=C # the numbers printed and read here have a decimal point
cd "$(dirname "$0")/.."
rounds=${1:-20}
output=$(realpath -m "${2:-bench/results.md}")

scripts/setup.sh run test bench
cmake --preset bench >/dev/null
cmake --build build-bench --target marevo marevo-baseline marevo-probe -j 2
bin=$PWD/build-bench

# shellcheck source=../tests/support/x_session.sh
source tests/support/x_session.sh
# shellcheck source=SCRIPTDIR/results.sh
source bench/results.sh
logs_on_failure=(xvfb openbox calculator baseline)
require_tools Xvfb openbox xprop dbus-daemon valgrind
start_x_session -br # before its first frame a window shows the black root window
# A bus of our own: else D-Bus would start one for the first program, which alone would pay.
mapfile -t bus < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
pids+=("${bus[1]}")
# The programs see this environment and nothing of the caller's.
run=(env -i "DISPLAY=$DISPLAY" "HOME=$work" "XDG_CONFIG_HOME=$XDG_CONFIG_HOME"
    "XDG_CACHE_HOME=$XDG_CACHE_HOME" "XDG_RUNTIME_DIR=$XDG_RUNTIME_DIR" "PATH=/usr/bin:/bin"
    "LANG=C.UTF-8" "DBUS_SESSION_BUS_ADDRESS=${bus[0]}" "QT_QPA_PLATFORM=xcb")
"${run[@]}" openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
within 5 wm_ready || fail "openbox did not start"

# probe NAME [WRAPPER...]: one run of the calculator or the baseline; prints the probe's line.
# The point watched lies where neither has text: in the calculator's light green result panel,
# on the baseline's plain window background.
probe() {
    local name=$1 title='Kalkulator za izračun mešanice Marevo' colour=80ff80 program=$bin/marevo
    shift
    [ "$name" = baseline ] && title='Marevo: primerjalno okno' colour=efefef \
        program=$bin/bench/marevo-baseline
    "${run[@]}" "$bin/bench/marevo-probe" "$title" 12,268 "$colour" "$@" "$program" \
        2>>"$work/$name.log" || fail "$name: no clean start and end"
}

echo "Timing $rounds interleaved rounds after one not counted" >&2
for ((r = 0; r <= rounds; r++)); do
    for name in calculator baseline; do
        line=$(probe "$name")
        [ "$r" -eq 0 ] || echo "$name $line" >>"$work/runs"
    done
done
echo "Counting instructions under callgrind" >&2
for name in calculator baseline; do
    probe "$name" valgrind --tool=callgrind "--callgrind-out-file=$bin/callgrind.$name" >/dev/null
    echo "$name ir=$(awk '/^(totals|summary):/ { print $2; exit }' "$bin/callgrind.$name")" \
        >>"$work/runs"
done

# median_of NAME KEY SCALE: the median of NAME's values of KEY=…, divided by SCALE.
median_of() {
    awk -v name="$1" -v key="$2=" -v scale="$3" '$1 == name { for (i = 2; i <= NF; i++)
        if (index($i, key) == 1) print substr($i, length(key) + 1) / scale }' "$work/runs" | median
}
# row LABEL KEY SCALE TARGET: medians side by side, and the target as an awk condition on
# c (the calculator's) and b (the baseline's).
row() {
    local c b
    c=$(median_of calculator "$2" "$3") b=$(median_of baseline "$2" "$3")
    awk -v c="$c" -v b="$b" -v label="$1" -v target="$4" "BEGIN { printf \"| %s | %.1f | %.1f | %.3f × | %s | %s |\\n\",
        label, c, b, c / b, target, ($5) ? \"met\" : \"missed\" }"
}

cat >"$work/section.md" <<EOF
## Linux, on X11

From \`bench/run.sh\`: the calculator against a plain Qt Widgets window with the same controls and
picture (\`bench/baseline.cpp\`), both Release builds, on Xvfb under openbox, each timed $rounds
times, interleaved, by \`bench/probe.cpp\` from outside, and once under callgrind (its profiles
are left in \`build-bench/callgrind.*\` for \`callgrind_annotate\`). Medians.

- date: $(date -u '+%Y-%m-%d %H:%M UTC'); commit $(git describe --always --dirty 2>/dev/null || echo '?')
- machine: $(nproc) cores, $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), load $(cut -d' ' -f1-3 /proc/loadavg) at the end (it is shared)
- Qt $(dpkg-query -W -f='${Version}' libqt6widgets6), $(valgrind --version)

| metric | calculator | baseline | calculator ÷ baseline | target | |
|---|---:|---:|---:|---|---|
$(row "first painted frame (ms)" painted_ms 1 "≤ 1.10 × the baseline's" "c <= 1.10 * b")
$(row "instructions (millions)" ir 1000000 "≤ 1.10 × the baseline's" "c <= 1.10 * b")
$(row "peak resident memory (MiB)" maxrss_kb 1024 "≤ the baseline's + 3 MiB" "c <= b + 3")
EOF
write_section "$output" "$work/section.md"
cat "$work/section.md"
