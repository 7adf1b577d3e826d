#!/usr/bin/env bash
# The Windows setup program as a user meets it, under Wine on a private X server with a window
# manager: it installs silently into a fresh Wine prefix, with a Start-menu shortcut and an
# entry in Apps & features; the installed program shows its window, calculates the worked
# example typed by keyboard, opens and closes its About window and ends on "Izhod"; the
# uninstaller then removes the program, the shortcut and the entry. A screenshot of the
# calculated window is left in the working directory. Every process started here is stopped by
# its PID when the script ends.
#
# Usage: tst_setup.sh PATH/TO/setup.exe LOCALE EXPECTED_RESULT   (e.g. sl_SI.UTF-8 35,7)
set -uo pipefail

setup=${1:?usage: $0 setup.exe locale result}
locale=${2:?} expected=${3:?}
# shellcheck source=SCRIPTDIR/../support/x_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
require_tools Xvfb openbox xdotool xwininfo wine wineserver import tesseract

work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; stop_all; rm -rf "$work"' EXIT
trap 'exit 2' INT TERM HUP
logs_on_failure=(wine)

private_environment
start_x_server
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=("$!")
within 20 wm_ready || fail "openbox did not start"

export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=$locale
# Each step of Wine is given a time: a hung one fails the test, and the trap stops Wine.
timeout 120 wine wineboot --init >>"$work/wine.log" 2>&1 || fail "the Wine prefix was not made"

# --- install

program_dir="$WINEPREFIX/drive_c/Program Files/Kalkulator Marevo"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalkulator Marevo'
shortcut() { find "$WINEPREFIX/drive_c" -name 'Kalkulator Marevo.lnk' | grep -q .; }
registered() { wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r'; }

timeout 120 wine "$setup" /S >>"$work/wine.log" 2>&1 || fail "the setup program failed"
timeout 120 wineserver -w || fail "the setup program did not end"
[ -f "$program_dir/marevo.exe" ] || fail "marevo.exe is not installed"
for f in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll LICENSE.txt; do
    [ -f "$program_dir/$f" ] || fail "$f is not installed beside the program"
done
shortcut || fail "no Start-menu shortcut"
entry=$(registered)
for value in 'DisplayName +REG_SZ +Kalkulator Marevo$' 'DisplayVersion +REG_SZ +1\.00$' \
    'Publisher +REG_SZ +.' 'DisplayIcon +REG_SZ +.*marevo\.exe$' 'UninstallString +REG_SZ +.'; do
    grep -qE "$value" <<<"$entry" || fail "Apps & features lacks $value: $entry"
done
ok "installed silently, with its shortcut and its entry in Apps & features"

# --- the installed program

wine "$program_dir/marevo.exe" >>"$work/wine.log" 2>&1 &
marevo_pid=$!
pids+=("$marevo_pid")
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
main=''
within 60 eval 'main=$(window "Kalkulator za izračun mešanice Marevo") && [ -n "$main" ]' ||
    fail "the main window did not appear"
size=$(xwininfo -id "$main" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = 386x342 ] || fail "the main window's client area is $size, not 386x342"
ok "the main window shows, titled and sized as designed"

within 20 xdotool windowactivate --sync "$main" 2>/dev/null || fail "the main window is never active"
# Into the starting pressure, over its text; Tab then selects each next box's text.
click "$main" 232 57
xdotool key ctrl+a
for text in 50 21 32 200; do
    xdotool type --delay 50 "$text"
    xdotool key --delay 50 Tab
done
click "$main" 332 76 # Izračunaj
sleep 1
# The number in the result sentence (Lblprocent: 232, 272, 57 × 33), read from the screen.
import -window "$main" -crop 57x33+232+272 -resize 400% -colorspace Gray \
    "$work/result.png" || fail "no screenshot of the result"
shown=$(tesseract "$work/result.png" - --psm 7 2>/dev/null | tr -d ' \n\f')
[ "$shown" = "$expected" ] || fail "the result shows '$shown', not '$expected'"
ok "the worked example typed by keyboard shows $expected"

click "$main" 332 224 # O kalkulatorju
about=''
within 20 eval 'about=$(window "O kalkulatorju") && [ -n "$about" ]' || fail "no About window"
sleep 1
# Both windows as the user sees them, kept with the test's output.
import -window root "$PWD/marevo-wine-${locale%%.*}.png" || fail "no screenshot"
# Wine draws the tool window's caption inside it: Zapri, which has the focus, by key.
xdotool key space
within 20 eval '[ -z "$(window "O kalkulatorju")" ]' || fail "Zapri did not close the About window"
click "$main" 332 172 # Izhod
within 20 eval '! kill -0 "$marevo_pid" 2>/dev/null' || fail "Izhod did not end the program"
status=0
wait "$marevo_pid" || status=$?
forget "$marevo_pid"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
ok "the About window opens and closes; Izhod ends the program"

# --- uninstall

timeout 120 wine "$program_dir/Uninstall.exe" /S >>"$work/wine.log" 2>&1 || fail "the uninstaller failed"
timeout 120 wineserver -w || fail "the uninstaller did not end"
[ ! -e "$program_dir" ] || fail "the uninstaller left $(find "$program_dir" | head -n 5)"
! shortcut || fail "the uninstaller left the shortcut"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstaller left the entry in Apps & features"
ok "the uninstaller removes the program, its shortcut and its entry"
