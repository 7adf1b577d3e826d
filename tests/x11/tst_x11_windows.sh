#!/usr/bin/env bash
# Runs the real calculator under its own X server (Xvfb), once under each of
# the window managers of the Linux desktops (openbox; xfwm4 as Xfce has it;
# mutter as GNOME has it; KWin as KDE Plasma has it), once in a Wayland session
# (KWin with XWayland) and once on Wayland itself (weston, nested on Xvfb), and
# checks from outside, as a window manager and a taskbar see them:
#  - the main window: fixed size, no minimise or maximise button;
#  - the About window: a utility window, off the taskbar, a title bar without
#    buttons, activated with its button in focus; a click on the main window
#    brings the main window above it; minimised, "O kalkulatorju" brings it back;
#  - the end: "Izhod" with the About window open leaves the process running,
#    "Zapri" then ends it with status 0; without the About window "Izhod" ends it;
#  - the keyboard in the About window: Esc and Enter do nothing, the space bar
#    presses "Zapri", which has the focus; Alt+F4 and the window manager's close
#    request close it as "Zapri" does;
#  - under KWin, with KDE's Breeze Dark colours: every caption and panel border of
#    both windows reads on its light fill, measured on the screen.
# In the Wayland session the program must come up on XWayland by itself; run on
# Wayland itself, both windows must live through the compositor maximising them.
# Every process started here is stopped by its PID when the script ends, passed or failed.
#
# Usage: tst_x11_windows.sh PATH/TO/marevo
set -uo pipefail

marevo=${1:?usage: $0 PATH/TO/marevo}
# shellcheck source=SCRIPTDIR/../support/x_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"

# The same checks under each window manager: this script again, with its own
# X server, for each.
if [ -z "${MAREVO_WM:-}" ]; then
    trap stop_all EXIT
    trap 'exit 2' INT TERM HUP
    for wm in openbox xfwm4 mutter kwin kwin_wayland weston; do
        echo "# under $wm"
        MAREVO_WM=$wm bash "$0" "$@" &
        pids+=("$!")
        wait "$!" || exit
        forget "$!"
    done
    exit 0
fi

# Xfwm4 takes its settings from xfconfd, which it reaches on a session bus.
xfconfd=$(sed -n 's/^Exec=//p' /usr/share/dbus-1/services/org.xfce.Xfconf.service 2>/dev/null)
require_tools Xvfb openbox xfwm4 mutter kwin_x11 kwin_wayland Xwayland weston dbus-daemon dbus-send \
    "${xfconfd:-xfconfd}" xprop xdotool xwininfo wmctrl import python3

# shellcheck disable=SC2034 # read by fail()
logs_on_failure=(marevo wm)
# shellcheck disable=SC2119 # Xvfb as it comes
start_x_session
# The desktop each window manager belongs to, which picks Qt's platform theme too.
declare -A desktop_of=([openbox]=LXDE [xfwm4]=XFCE [mutter]=GNOME [kwin]=KDE [kwin_wayland]=KDE
    [weston]=weston)
export XDG_CURRENT_DESKTOP=${desktop_of[$MAREVO_WM]:-} LC_ALL=C.UTF-8
export QT_QPA_PLATFORM=xcb

# --- the window manager

# A session bus of the window manager's own, started here, so that the bus
# starts nothing by itself; the program stays off that bus. Without an
# accessibility bridge, GTK asks the bus for no accessibility bus.
wm_bus=''
start_session_bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >"$work/bus.log" 2>&1 &
    pids+=("$!")
    within 20 test -s "$work/bus" || fail "the session bus did not start: $(cat "$work/bus.log")"
    wm_bus=$(head -n 1 "$work/bus")
}
start_xfwm4() {
    start_session_bus
    DBUS_SESSION_BUS_ADDRESS=$wm_bus "$xfconfd" >"$work/xfconfd.log" 2>&1 &
    pids+=("$!")
    within 20 has_owner --bus="$wm_bus" org.xfce.Xfconf ||
        fail "xfconfd did not start: $(cat "$work/xfconfd.log")"
    DBUS_SESSION_BUS_ADDRESS=$wm_bus NO_AT_BRIDGE=1 xfwm4 --compositor=off --sm-client-disable \
        >"$work/wm.log" 2>&1 &
    pids+=("$!")
}
# KWin as a Wayland compositor, on a screen of its own, with XWayland for X11
# programs: the program finds both, as in a Plasma session, and the checks go
# to XWayland's display. Run from a copy: the installed program carries a file
# capability, with which the loader ignores the environment.
start_kwin_wayland() {
    start_session_bus
    cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
    DBUS_SESSION_BUS_ADDRESS=$wm_bus KWIN_COMPOSE=N "$work/kwin_wayland" --virtual --xwayland \
        --socket=marevo-wayland --width=1024 --height=768 --no-lockscreen \
        "sh -c 'echo \$DISPLAY >$work/xwayland'" >"$work/wm.log" 2>&1 &
    pids+=("$!")
    within 20 test -s "$work/xwayland" || fail "KWin started no XWayland"
    DISPLAY=$(head -n 1 "$work/xwayland")
    export WAYLAND_DISPLAY=marevo-wayland
    # The program chooses the platform itself.
    unset QT_QPA_PLATFORM
}
case $MAREVO_WM in
openbox)
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    pids+=("$!")
    ;;
xfwm4) start_xfwm4 ;;
mutter)
    start_session_bus
    DBUS_SESSION_BUS_ADDRESS=$wm_bus GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 \
        mutter --x11 --replace --sm-disable >"$work/wm.log" 2>&1 &
    pids+=("$!")
    ;;
kwin)
    start_session_bus
    DBUS_SESSION_BUS_ADDRESS=$wm_bus KWIN_COMPOSE=N kwin_x11 --replace >"$work/wm.log" 2>&1 &
    pids+=("$!")
    # Plasma's dark scheme, Breeze Dark, as Qt's KDE platform theme reads it.
    export KDE_SESSION_VERSION=5
    cp "$(dirname "${BASH_SOURCE[0]}")/breeze-dark.kdeglobals" "$XDG_CONFIG_HOME/kdeglobals"
    ;;
kwin_wayland) start_kwin_wayland ;;
weston)
    # Nested on Xvfb, with the program on Wayland itself, as where no X server is.
    weston --backend=x11-backend.so --socket=marevo-wayland --width=1024 --height=768 \
        --idle-time=0 --no-config >"$work/wm.log" 2>&1 &
    pids+=("$!")
    within 20 test -S "$XDG_RUNTIME_DIR/marevo-wayland" || fail "weston did not start"
    export WAYLAND_DISPLAY=marevo-wayland QT_QPA_PLATFORM=wayland
    # Qt's log of what the compositor asks of the window.
    export QT_LOGGING_RULES=qt.qpa.wayland.debug=true
    ;;
*) fail "no such window manager here: $MAREVO_WM" ;;
esac
# Mutter composites with software GL, which takes long on a busy machine.
[ "$MAREVO_WM" = weston ] || within 60 wm_ready || fail "$MAREVO_WM did not start"

# --- helpers on the program's windows

marevo_pid='' main='' about=''
start_marevo() {
    "$marevo" >"$work/marevo.log" 2>&1 &
    marevo_pid=$!
    pids+=("$marevo_pid")
}

# The program's shown window whose title matches the pattern.
shown_window() {
    xdotool search --all --onlyvisible --pid "$marevo_pid" --name "$1" 2>/dev/null | head -n 1
}
# Waits for that window and puts its id into the named variable.
find_window() { # variable pattern what
    local id tries=200
    until id=$(shown_window "$2") && [ -n "$id" ]; do
        ((tries-- > 0)) || fail "no $3 appeared"
        has_ended && fail "the program ended before showing its $3"
        sleep 0.1
    done
    printf -v "$1" '%s' "$id"
}

# Activated, the main window has its place: a click lands where it is aimed.
find_main_window() {
    find_window main "$MAIN_TITLE" "main window"
    within 10 is_active "$main" ||
        fail "the main window was not activated (active: $(xdotool getactivewindow 2>&1);" \
            "its $(property "$main" _NET_WM_USER_TIME); $(property "$main" _NET_WM_STATE))"
}

is_shown() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
is_gone() { ! is_shown "$1"; }
is_running() { # not ended, nor ended and waiting to be reaped
    local state
    state=$(ps -o stat= -p "$marevo_pid") && [[ $state != Z* ]]
}
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
has_ended() { ! is_running; }

property() { xprop -id "$1" -notype "$2" 2>/dev/null; }

# "O kalkulatorju", then the About window it brings. Mutter 48 now and then
# keeps for itself the first click on a window it has just mapped, any
# program's (xmessage's too), and nothing outside shows when it lets clicks
# through: there the button is clicked again until the window appears, which
# the button only ever brings forward.
about_shown() { [ -n "$(shown_window "$ABOUT_TITLE")" ]; }
open_about() { # what
    local clicks=1
    [ "$MAREVO_WM" = mutter ] && clicks=3
    click_control "$main" CmdAvtor
    while ((--clicks > 0)) && ! within 2 about_shown; do
        click_control "$main" CmdAvtor
    done
    find_window about "$ABOUT_TITLE" "$1"
}

# Waits for the program to end and checks its exit status.
expect_exit_status_0() {
    within 20 has_ended || fail "$1: the program did not end"
    local status=0
    wait "$marevo_pid" || status=$?
    forget "$marevo_pid"
    [ "$status" -eq 0 ] || fail "$1: the program ended with status $status"
}

# The window's own _MOTIF_WM_HINTS as numbers: flags, functions, decorations.
motif_hints() {
    local values
    values=$(property "$1" _MOTIF_WM_HINTS | sed -n 's/^_MOTIF_WM_HINTS = //p' | tr -d ' ')
    [ -n "$values" ] || fail "$2 has no _MOTIF_WM_HINTS"
    IFS=, read -r mwm_flags mwm_functions mwm_decorations _ <<<"$values"
}
# Motif flags, functions and decorations.
readonly HAS_FUNCTIONS=1 HAS_DECORATIONS=2
readonly FUNC_ALL=1 FUNC_MINIMIZE=8 FUNC_MAXIMIZE=16 FUNC_CLOSE=32
readonly DECOR_ALL=1 DECOR_TITLE=8 DECOR_MENU=16 DECOR_MINIMIZE=32 DECOR_MAXIMIZE=64

fixed_size() { # window what width height
    local hints
    hints=$(property "$1" WM_NORMAL_HINTS)
    if ! grep -q "program specified minimum size: $3 by $4" <<<"$hints" ||
        ! grep -q "program specified maximum size: $3 by $4" <<<"$hints"; then
        fail "$2 is not fixed at $3 x $4: $hints"
    fi
    xwininfo -id "$1" | grep -q "Width: $3" || fail "$2 is not $3 pixels wide"
    xwininfo -id "$1" | grep -q "Height: $4" || fail "$2 is not $4 pixels high"
    # Placed by the window manager: the window asks for no position of its own.
    grep -q 'specified location' <<<"$hints" && fail "$2 places itself: $hints"
}

readonly MAIN_TITLE='^Kalkulator za izra.* Marevo$' ABOUT_TITLE='^O kalkulatorju$'

# --- on Wayland itself: weston maximises the active window on Super+Shift+M, and
# ends a program whose maximised window keeps another size. Both fixed windows
# live through being maximised and restored.

configures() { grep -c 'Received xdg_toplevel.configure' "$work/marevo.log"; }
configured_more() { [ "$(configures)" -gt "$1" ]; } # than so many times
configured() { # pattern: the last configure a window took matches it
    grep 'Received xdg_toplevel.configure' "$work/marevo.log" | tail -n 1 | grep -q "$1"
}
maximised_and_restored() { # window
    xdotool key super+shift+m
    within 10 configured WindowMaximized || fail "weston did not maximise the $1"
    never_within 1 has_ended || fail "with the $1 maximised by weston, the program ended"
    xdotool key super+shift+m
    within 10 eval '! configured WindowMaximized' || fail "weston did not restore the $1"
    never_within 1 has_ended || fail "with the $1 restored by weston, the program ended"
}
if [ "$MAREVO_WM" = weston ]; then
    start_marevo
    within 20 configured WindowActive || fail "no main window was activated"
    maximised_and_restored "main window"
    # Tab past the four boxes to "O kalkulatorju", the first button in the tab order.
    shown=$(configures)
    xdotool key Tab Tab Tab Tab space
    within 10 configured_more "$shown" || fail "no About window appeared"
    within 10 configured WindowActive || fail "the About window was not activated"
    maximised_and_restored "About window"
    ok "on Wayland itself both windows live through being maximised and restored"
    exit 0
fi

# --- first run: both windows, then the end with the About window open

start_marevo
find_main_window

fixed_size "$main" "the main window" 386 342
motif_hints "$main" "the main window"
((mwm_flags & HAS_DECORATIONS)) || fail "the main window leaves its title bar to the window manager"
((mwm_decorations & DECOR_TITLE && mwm_decorations & DECOR_MENU)) ||
    fail "the main window asks for no title bar or window menu ($mwm_decorations)"
((mwm_decorations & (DECOR_ALL | DECOR_MINIMIZE | DECOR_MAXIMIZE))) &&
    fail "the main window asks for minimise or maximise buttons ($mwm_decorations)"
if ((mwm_flags & HAS_FUNCTIONS)); then
    ((mwm_functions & FUNC_CLOSE)) || fail "the main window cannot be closed ($mwm_functions)"
    ((mwm_functions & (FUNC_ALL | FUNC_MINIMIZE | FUNC_MAXIMIZE))) &&
        fail "the main window can be minimised or maximised ($mwm_functions)"
fi
property "$main" _NET_WM_STATE | grep -q SKIP_TASKBAR && fail "the main window is off the taskbar"
# What the window manager offers: never maximising. Minimising is the window
# manager's own policy whatever the window asks: openbox keeps it in the window
# menu, KWin gives every ordinary window a button for it.
actions=$(property "$main" _NET_WM_ALLOWED_ACTIONS)
grep -q MAXIMIZE <<<"$actions" && fail "the main window can be maximised: $actions"
ok "main window: fixed 386 x 342, close button and menu, no minimise or maximise"

# Under KDE's dark scheme every caption and panel border reads on its light fill, measured on
# the screen; the screenshots stay with the test's output.
# Tried until it reads, for a window just mapped may not yet be drawn.
readable() { # window part-table
    within 10 reads_on_screen "$1" "$work/$2.png" "$2" >"$work/contrast.log" ||
        fail "under Breeze Dark the $2 window does not read: $(tail -n 12 "$work/contrast.log")"
    cat "$work/contrast.log"
    cp "$work/$2.png" "$PWD/marevo-breeze-dark-$2.png"
}
if [ "$MAREVO_WM" = kwin ]; then
    readable "$main" main
    # The scheme reached the program: the starting-pressure box has Breeze Dark's view colour.
    box=$(convert "$work/main.png" -crop 1x1+255+57 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')
    [ "$box" = '#232629' ] || fail "Breeze Dark did not reach the program (a box shows $box)"
fi

open_about "About window after clicking \"O kalkulatorju\""

fixed_size "$about" "the About window" 312 159
property "$about" _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_UTILITY' ||
    fail "the About window is no utility window: $(property "$about" _NET_WM_WINDOW_TYPE)"
property "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    fail "the About window is on the taskbar: $(property "$about" _NET_WM_STATE)"
motif_hints "$about" "the About window"
((mwm_flags & HAS_FUNCTIONS)) || fail "the About window leaves its buttons to the window manager"
((mwm_functions & (FUNC_ALL | FUNC_MINIMIZE | FUNC_MAXIMIZE))) &&
    fail "the About window asks for title bar buttons ($mwm_functions)"
# Closing stays offered, for the window system's close requests.
((mwm_functions & FUNC_CLOSE)) || fail "the About window cannot be closed by the window manager"
# Decorations too, or a window manager draws its own idea of a title bar.
((mwm_flags & HAS_DECORATIONS)) || fail "the About window leaves its title bar to the window manager"
((mwm_decorations & DECOR_TITLE)) || fail "the About window has no title bar"
((mwm_decorations & (DECOR_ALL | DECOR_MENU | DECOR_MINIMIZE | DECOR_MAXIMIZE))) &&
    fail "the About window asks for a window menu or title bar buttons ($mwm_decorations)"
within 10 is_active "$about" || fail "the About window was not activated"
actions=$(property "$about" _NET_WM_ALLOWED_ACTIONS)
grep -q MAXIMIZE <<<"$actions" && fail "the About window can be maximised: $actions"
grep -q CLOSE <<<"$actions" || fail "the window manager will not close the About window: $actions"
ok "About window: utility window, off the taskbar, fixed 312 x 159, no buttons, activated"
if [ "$MAREVO_WM" = kwin ]; then
    readable "$about" about
    ok "under Breeze Dark every caption and panel border reads"
fi

# Clicked, the main window comes to the front: the About window is not kept
# above it. The window manager lists its windows from the bottom up.
on_top() {
    xprop -root _NET_CLIENT_LIST_STACKING | grep -Eiq "$(printf '0x%x' "$1")\$"
}
# Set apart, as the user would drag them, so that neither covers what is clicked
# on the other: some window managers place the About window over the main window.
placed_at() { # window x y
    local info
    info=$(xwininfo -id "$1") && grep -q "Absolute upper-left X: *$2\$" <<<"$info" &&
        grep -q "Absolute upper-left Y: *$3\$" <<<"$info"
}
xdotool windowmove "$main" 0 0 windowmove "$about" 600 400
within 10 placed_at "$about" 600 400 || fail "the About window could not be moved aside"
# The click is aimed at where the main window is when it is sent: on a busy machine the window
# manager may move it only afterwards, and the click then misses. So it is sent again until the
# main window is on top, ten times at most.
for _ in {1..10}; do
    click "$main" 4 4
    within 1 on_top "$main" && break
done
on_top "$main" || fail "the About window stays above the main window"
ok "the About window is not kept above the main window"

# Minimised by the window manager, it has no taskbar button to come back by:
# "O kalkulatorju" brings it back.
# Mutter minimises no window that does not offer it, KWin no utility window.
xdotool windowminimize "$about"
if [[ $MAREVO_WM == @(mutter|kwin|kwin_wayland) ]]; then
    never_within 1 is_gone "$about" || fail "$MAREVO_WM minimised the About window"
    click_control "$main" CmdAvtor
    ok "$MAREVO_WM does not minimise the About window"
else
    within 10 is_gone "$about" || fail "the window manager did not minimise the About window"
    click_control "$main" CmdAvtor
    within 10 is_shown "$about" || fail "\"O kalkulatorju\" left the About window minimised"
    ok "\"O kalkulatorju\" brings back the minimised About window"
fi
within 10 on_top "$about" || fail "\"O kalkulatorju\" left the About window below the main window"
within 10 is_active "$about" || fail "\"O kalkulatorju\" left the About window inactive"
ok "\"O kalkulatorju\" brings the About window to the front, active"

click_control "$main" CmdIzhod
within 10 is_gone "$main" || fail "\"Izhod\" did not close the main window"
never_within 1 has_ended || fail "\"Izhod\" with the About window open ended the program"
is_shown "$about" || fail "\"Izhod\" closed the About window too"
property "$about" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR ||
    fail "the About window came onto the taskbar when it was left alone"
ok "\"Izhod\" with the About window open closes only the main window"

click_control "$about" CmdZapri
expect_exit_status_0 "\"Zapri\" in the last window"
ok "\"Zapri\" in the last window ends the program with status 0"

# --- second run: the About window from the keyboard, then the end without it

start_marevo
find_main_window
open_about "About window"
within 10 is_active "$about" || fail "the About window was not activated"
xdotool key Escape Return KP_Enter
never_within 1 is_gone "$about" || fail "Esc or Enter closed the About window"
xdotool key space
within 10 is_gone "$about" || fail "the space bar did not press \"Zapri\", which has the focus"
never_within 1 has_ended || fail "closing the About window ended the program"
ok "Esc and Enter do nothing in the About window; the space bar presses \"Zapri\""

# The window system's close requests: Alt+F4, and a pager's or taskbar's.
closes_as_zapri() { # how
    open_about "About window"
    within 10 is_active "$about" || fail "the About window was not activated"
    "$@"
    within 10 is_gone "$about" || fail "$* did not close the About window"
    never_within 1 has_ended || fail "$* in the About window ended the program"
}
close_request() { wmctrl -i -c "$about"; }
# Keys from xdotool reach XWayland's programs but not the compositor, which binds Alt+F4; and
# KWin 6 binds its keys through the kglobalaccel service, which this bare session has not. There
# the close request alone stands for the key, which sends the same.
kwin_major=$(dpkg-query -W -f='${Version}' kwin-x11 2>/dev/null | sed 's/^[0-9]*://; s/\..*//')
if [ "$MAREVO_WM" != kwin_wayland ] && { [ "$MAREVO_WM" != kwin ] || [ "${kwin_major:-5}" -lt 6 ]; }; then
    closes_as_zapri xdotool key alt+F4
fi
closes_as_zapri close_request
ok "Alt+F4 and the window manager's close request close the About window as \"Zapri\" does"

click_control "$main" CmdIzhod
expect_exit_status_0 "\"Izhod\" after the About window was closed"
ok "\"Izhod\" ends the program with status 0 once the About window is closed"
