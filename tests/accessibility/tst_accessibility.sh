#!/usr/bin/env bash
# Runs the real calculator under its own X server (Xvfb), session bus
# (dbus-run-session) and accessibility bus (at-spi2-core), and uses it from
# outside through AT-SPI alone, as a screen reader does: a11y_client.py finds
# the boxes and buttons by their accessible names, types, presses, reads the
# results, the warning and the message boxes back, and ends with "Izhod". The
# program must then end with status 0.
# Every process started here is stopped by its PID when the script ends, however.
#
# Usage: tst_accessibility.sh PATH/TO/marevo PATH/TO/a11y_client.py
set -uo pipefail

marevo=${1:?usage: $0 PATH/TO/marevo PATH/TO/a11y_client.py}
client=${2:?usage: $0 PATH/TO/marevo PATH/TO/a11y_client.py}
python=/usr/bin/python3 # Debian's, which has pyatspi
launcher=/usr/libexec/at-spi-bus-launcher
registryd=/usr/libexec/at-spi2-registryd
# shellcheck source=SCRIPTDIR/../support/x_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
# shellcheck disable=SC2034 # read by fail()
logs_on_failure=(marevo client launcher registryd)

# What the session part starts is also listed in $work/running, so that the
# outer part can stop it should the session part not get to do so itself.
note_pid() {
    pids+=("$1")
    echo "$1" >>"$work/running"
}
stop_listed() {
    local listed=() i
    [ -f "$work/running" ] || return 0
    mapfile -t listed <"$work/running"
    for ((i = ${#listed[@]} - 1; i >= 0; i--)); do
        kill "${listed[i]}" 2>/dev/null
    done
}

# ---------------------------------------------------------------------------
# The outer part: the X server, then this script again on a private session bus.

if [ -z "${MAREVO_A11Y_WORK:-}" ]; then
    require_tools Xvfb dbus-run-session dbus-daemon dbus-send "$launcher" "$registryd" "$python"
    "$python" -c 'import pyatspi' 2>/dev/null ||
        fail "$python has no pyatspi (scripts/setup.sh installs python3-pyatspi)"

    start_x_session --cleanup stop_listed
    : >"$work/running"

    MAREVO_A11Y_WORK=$work dbus-run-session -- bash "$0" "$@" &
    session=$!
    pids+=("$session")
    status=0
    wait "$session" || status=$?
    forget "$session"
    exit "$status"
fi

# ---------------------------------------------------------------------------
# The session part, on the private session bus that dbus-run-session made.

work=$MAREVO_A11Y_WORK
# Stops what this part started; the session bus's daemon, which dbus-run-session
# ends, stays listed for the outer part.
trap 'stop_all; head -n 1 "$work/running" >"$work/running.new"; mv "$work/running.new" "$work/running"' EXIT
trap 'exit 2' INT TERM HUP

# The process id of the daemon of a bus (session, or the address of another).
bus_daemon_pid() {
    dbus-send "$1" --print-reply=literal --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID string:org.freedesktop.DBus |
        awk '{ print $2 }'
}

# The session bus's daemon ends with dbus-run-session; listed in case it does not.
pid=$(bus_daemon_pid --session) || fail "the session bus does not answer"
echo "$pid" >>"$work/running"

# The accessibility bus: its launcher, the bus it starts, and the registry on it.
"$launcher" --launch-immediately --a11y=1 >"$work/launcher.log" 2>&1 &
note_pid $!
within 20 has_owner --session org.a11y.Bus || fail "at-spi-bus-launcher did not start"
address=$(dbus-send --session --print-reply=literal --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress | tr -d ' ') || fail "the accessibility bus has no address"
[ -n "$address" ] || fail "the accessibility bus has no address"
pid=$(bus_daemon_pid --bus="$address") || fail "the accessibility bus does not answer"
# Stopped after its launcher, which stops it itself when it can.
pids=("$pid" "${pids[@]}")
echo "$pid" >>"$work/running"
AT_SPI_BUS_ADDRESS=$address "$registryd" >"$work/registryd.log" 2>&1 &
note_pid $!
within 20 has_owner --bus="$address" org.a11y.atspi.Registry ||
    fail "at-spi2-registryd did not start"
ok "X server, session bus, accessibility bus and registry are up"

# The program, with its accessibility on whatever the desktop's settings say,
# on GNOME, whose platform theme names a message box's buttons in its own words.
XDG_CURRENT_DESKTOP=GNOME QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$marevo" >"$work/marevo.log" 2>&1 &
marevo_pid=$!
note_pid "$marevo_pid"

"$python" "$client" "$marevo_pid" >"$work/client.log" 2>&1 &
client_pid=$!
note_pid "$client_pid"
status=0
wait "$client_pid" || status=$?
forget "$client_pid"
[ "$status" -eq 0 ] || fail "the accessibility client failed (status $status)"
cat "$work/client.log"

is_running() { # not ended, nor ended and waiting to be reaped
    local state
    state=$(ps -o stat= -p "$marevo_pid") && [[ $state != Z* ]]
}
has_ended() { ! is_running; }
within 20 has_ended || fail "\"Izhod\", pressed through its action, did not end the program"
status=0
wait "$marevo_pid" || status=$?
forget "$marevo_pid"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
ok "\"Izhod\", pressed through its action, ends the program with status 0"
