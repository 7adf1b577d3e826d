# shellcheck shell=bash
# What the scripts that run the real program under their own X server (the
# real-X, screen-reader and Windows setup tests, the benchmarks) share: the list
# of the processes they started, how those are stopped, waiting for something
# to happen (or not to), reporting, a clean environment, the X server itself, a
# Windows desktop under Wine, where the program's buttons are, and a median.
# start_x_session makes $work, the script's private directory, and the EXIT
# trap that stops everything and removes it.

# shellcheck source=SCRIPTDIR/wine.sh
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

pids=() # started here and not yet reaped, in order of starting

# Stops every process in $pids, the last started first, and reaps it.
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null
        wait "${pids[i]}" 2>/dev/null
    done
    pids=()
}

# Takes a process out of $pids once it has been reaped.
forget() {
    local kept=() pid
    for pid in "${pids[@]}"; do
        [ "$pid" = "$1" ] || kept+=("$pid")
    done
    pids=("${kept[@]}")
}

# The logs in $work (without ".log") that a failure prints, when not empty.
logs_on_failure=(marevo)

fail() {
    echo "FAIL: $*" >&2
    local log
    for log in "${logs_on_failure[@]}"; do
        if [ -n "${work:-}" ] && [ -s "$work/$log.log" ]; then
            echo "--- $log's output:" >&2
            cat "$work/$log.log" >&2
        fi
    done
    exit 1
}
ok() { echo "ok - $*"; }

# Fails the test for the first of the tools that is not installed.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            fail "$tool is not installed (scripts/setup.sh installs it)"
    done
}

# Runs a command every tenth of a second until it succeeds, for at most $1 seconds.
within() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        ((tries-- > 0)) || return 1
        sleep 0.1
    done
}

# Succeeds when the command keeps failing for $1 seconds: for what must not happen.
never_within() {
    local tries=$(($1 * 10))
    shift
    while ((tries-- > 0)); do
        "$@" && return 1
        sleep 0.1
    done
}

# Nothing from the calling desktop may reach the X server or the program; its
# settings and caches go to private directories in $work. Neither may its
# session bus or accessibility bus; and where a test starts no session bus of
# its own, the address of one that is not there keeps libdbus from starting
# one itself through the X server (dbus-launch --autolaunch), out of reach of
# the test's list of processes.
private_environment() {
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
    # Numbers are read and written with a decimal point here, whatever the caller's locale.
    export LC_ALL=C.UTF-8
    unset AT_SPI_BUS_ADDRESS
    # shellcheck disable=SC2046 # one name a line
    unset $(grep -v '^#' "$(dirname "${BASH_SOURCE[0]}")/session_variables.txt")
    export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
}

# Starts Xvfb on the first free display, which it reports itself, and exports
# DISPLAY for it. Arguments go to Xvfb. Without -noreset the server resets as its
# last client leaves, and a window manager that connects just then is refused.
start_x_server() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset "$@" \
        3>"$work/display" 2>"$work/xvfb.log" &
    pids+=("$!")
    within 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    local display
    display=$(head -n 1 "$work/display")
    export DISPLAY=":$display"
}

# The script's private directory $work, the traps that stop what it started and remove the
# directory at its end (after the command given with --cleanup) or end it with status 2 when
# it is interrupted, the clean environment, and the X server, given the other arguments.
start_x_session() { # [--cleanup COMMAND] [XVFB ARGUMENT...]
    local cleanup=:
    if [ "${1:-}" = --cleanup ]; then
        cleanup=$2
        shift 2
    fi
    work=$(mktemp -d)
    # shellcheck disable=SC2064 # the cleanup command now, $work when the script ends
    trap "set +e; $cleanup; stop_all; rm -rf \"\$work\"" EXIT
    trap 'exit 2' INT TERM HUP
    private_environment
    start_x_server "$@"
}

# A Windows desktop under Wine: openbox on the X server, and a fresh Wine prefix in $work, in
# the caller's locale, with Wine's own fonts, the bitmap "MS Sans Serif" that Windows has too
# among them (Debian's Wine does not always find them where they are installed). Each step of
# Wine is given a time: a hung one fails the caller, whose trap stops Wine.
start_wine_desktop() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    pids+=("$!")
    within 20 wm_ready || fail "openbox did not start"
    use_wine_prefix "$work/prefix"
    timeout 120 wine wineboot --init >>"$work/wine.log" 2>&1 || fail "the Wine prefix was not made"
    if [ -d /usr/share/wine/fonts ]; then
        cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
}

# Whether a name on a D-Bus bus (--session, or --bus=ADDRESS) has an owner.
has_owner() { # bus name
    dbus-send "$1" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$2" 2>/dev/null | grep -q true
}

# Whether a window manager has announced itself on the root window.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# How the captions and panel borders of one of the program's windows (main or about, as
# support/contrast.py lays them out) read on a screenshot of an X window, whose client area
# lies at X, Y in it. Keeps the screenshot.
reads_on_screen() { # x-window screenshot main|about [X Y]
    import -window "$1" "$2" 2>/dev/null &&
        python3 "$(dirname "${BASH_SOURCE[0]}")/contrast.py" "$2" "$3" "${4:-0}" "${5:-0}"
}

# Clicks a window at a point of its client area.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# The middle of each control that the scripts click, in pixels from the top-left corner of its
# window's client area at 96 dpi: left + width / 2, top + height / 2 of the windows' layouts.
declare -A middle_of=(
    [TxTZpritisk]="232 57"
    [CmdIzracun]="332 76" [CmdIzhod]="332 172" [CmdAvtor]="332 224" # the main window's
    [CmdZapri]="276 104"                                             # the About window's
)
click_control() { # window control
    local x y
    read -r x y <<<"${middle_of[$2]}"
    click "$1" "$x" "$y"
}

# The median of the numbers on the standard input, one a line.
median() {
    sort -g | awk '{ v[NR] = $1 } END { print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'
}
