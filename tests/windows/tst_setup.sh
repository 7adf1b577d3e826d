#!/usr/bin/env bash
# The Windows setup program as a user meets it, under Wine on a private X server with a window
# manager: it installs silently into a fresh Wine prefix the one program and its licences, with
# one Start-menu shortcut and an entry in Apps & features; the installed program shows its
# windows with thin fixed frames and bold captions in bold, calculates the worked example typed
# by keyboard, opens and closes its About window, and stays readable under dark mode for apps
# and High Contrast Black (in English); while it runs, neither the setup program nor
# the uninstaller touches it and both ask, in the user's language, to close it; it ends on
# "Izhod"; the uninstaller then removes the program, the shortcut and every registry key. A
# screenshot of both windows is left in the working directory. Every process started here is
# stopped by its PID when the script ends.
#
# Usage: tst_setup.sh PATH/TO/setup.exe LOCALE EXPECTED_RESULT PATH/TO/win_probe.exe
#        (e.g. sl_SI.UTF-8 35,7)
set -uo pipefail

setup=${1:?usage: $0 setup.exe locale result win_probe.exe}
locale=${2:?} expected=${3:?} probe=${4:?}
# shellcheck source=SCRIPTDIR/../support/x_session.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/x_session.sh"
require_tools Xvfb openbox xdotool xwininfo wine wineserver import convert tesseract python3

logs_on_failure=(wine)
start_x_session --cleanup 'wineserver -k 2>/dev/null'
export LC_ALL=$locale
start_wine_desktop

# --- install

program_dir="$WINEPREFIX/drive_c/Program Files/Kalkulator Marevo"
main_title='Kalkulator za izračun mešanice Marevo'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalkulator Marevo'
vendor_key='HKLM\Software\Kalkulator Marevo developers'
shortcuts() { find "$WINEPREFIX/drive_c" -path '*/Start Menu/*' -name '*.lnk' -printf '%P\n'; }
registered() { wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r'; }
probe() { wine "$probe" "$@" 2>>"$work/wine.log" | tr -d '\r'; }
installed() { find "$program_dir" -type f -printf '%P\n' 2>/dev/null | LC_ALL=C sort | tr '\n' ' '; }
# A message box of the setup program or uninstaller: the window that is not the calculator's.
message_box() {
    xdotool search --onlyvisible --name '.' 2>/dev/null | while read -r id; do
        case $(xdotool getwindowname "$id") in
        "$main_title" | 'O kalkulatorju' | '') ;;
        *) echo "$id" && break ;;
        esac
    done
}
# Whether a message box shows the text $1; it is then $box, and what it shows $text. A large
# setup program first shows a passing window while it checks itself: looked at again.
asks() {
    local X Y WIDTH HEIGHT geometry
    box=$(message_box) && [ -n "$box" ] || return 1
    geometry=$(xdotool getwindowgeometry --shell "$box" 2>/dev/null) || return 1
    eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$' <<<"$geometry")"
    [ -n "${HEIGHT:-}" ] || return 1
    timeout 10 import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" -resize 300% -colorspace Gray \
        "$work/message.png" 2>/dev/null || return 1
    text=$(tesseract "$work/message.png" - --psm 6 2>/dev/null | tr '\n' ' ')
    [[ "$text" == *"$1"* ]]
}
# Starts a Windows program that must ask the question (a word of it), answers Cancel with Esc,
# and waits for the program to end.
cancels_question() { # question who program arguments...
    local question=$1 who=$2 pid status screen
    shift 2
    wine "$@" >>"$work/wine.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    box='' text=''
    if ! within 60 eval 'asks "$question" || ! kill -0 "$pid" 2>/dev/null' ||
        ! kill -0 "$pid" 2>/dev/null; then
        status=0
        if kill -0 "$pid" 2>/dev/null; then status=running; else wait "$pid" || status=$?; fi
        screen="$PWD/${who// /-}-${locale%%.*}.png"
        timeout 10 import -window root "$screen" 2>/dev/null || screen='not taken'
        fail "$who asks '$text', not '$question' (exit status: $status); windows shown:" \
            "$(xdotool search --onlyvisible --name . getwindowname %@ 2>/dev/null | tr '\n' '|');" \
            "screen: $screen"
    fi
    # Esc again until it is taken: a box just drawn may not yet read the keyboard. xdotool
    # presses the key through the X server while the box has the focus, but sends the release
    # to the box, which the press may have closed: the key is then still down, and the X server
    # repeats it into whatever window gets the focus next (the next question box, cancelled
    # before anyone sees it). So it is let go here.
    within 20 eval "xdotool key --window $box Escape 2>/dev/null; ! kill -0 $pid 2>/dev/null" ||
        fail "Cancel did not end $who"
    xdotool keyup Escape
    wait "$pid"
    forget "$pid"
}
# How wide, in tenths of a pixel, the upright strokes of the letters in a part of the screen are:
# the mean of the dark horizontal runs up to 3 pixels long (longer ones are bars, not strokes),
# the grey of smoothed edges counted as dark. About 11 for regular text, 14 for bold.
stroke_width() { # SCREENSHOT X Y WIDTH HEIGHT
    convert "$1" -crop "$4x$5+$2+$3" -colorspace Gray -threshold 70% \
        -compress none pbm:- | python3 -c '
import sys
words = sys.stdin.read().split()
width = int(words[1])
bits = "".join(words[3:])
runs = [len(run) for row in range(0, len(bits), width)
        for run in bits[row:row + width].split("0") if 0 < len(run) <= 3]
print(round(10 * sum(runs) / len(runs)) if runs else 0)'
}

timeout 120 wine "$setup" /S >>"$work/wine.log" 2>&1 || fail "the setup program failed"
timeout 120 wineserver -w || fail "the setup program did not end"
files=$(installed)
[ "$files" = 'GPL-3.0.txt LGPL-3.0.txt LICENSE.txt THIRD-PARTY-NOTICES.txt Uninstall.exe marevo.exe ' ] ||
    fail "installed: $files"
[ "$(shortcuts)" = 'ProgramData/Microsoft/Windows/Start Menu/Programs/Kalkulator Marevo/Kalkulator Marevo.lnk' ] ||
    fail "the Start-menu shortcuts are: $(shortcuts)"
entry=$(registered)
for value in 'DisplayName +REG_SZ +Kalkulator Marevo$' 'DisplayVersion +REG_SZ +1\.00$' \
    'Publisher +REG_SZ +.' 'DisplayIcon +REG_SZ +.*marevo\.exe$' 'UninstallString +REG_SZ +.' \
    'InstallLocation +REG_SZ +C:\\Program Files\\Kalkulator Marevo$' \
    'EstimatedSize +REG_DWORD +0x[0-9a-f]*[1-9a-f]'; do
    grep -qE "$value" <<<"$entry" || fail "Apps & features lacks $value: $entry"
done
[ "$(probe version "$(winepath -w "$setup")")" = '1.0.0.0 1.00' ] ||
    fail "the setup program's version record reads '$(probe version "$(winepath -w "$setup")")'"
ok "installed silently the program and its licences, with one shortcut and its entry in Apps & features"

# --- the installed program

wine "$program_dir/marevo.exe" >>"$work/wine.log" 2>&1 &
marevo_pid=$!
pids+=("$marevo_pid")
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
main=''
within 60 eval 'main=$(window "$main_title") && [ -n "$main" ]' ||
    fail "the main window did not appear"
size=$(xwininfo -id "$main" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
[ "$size" = 386x342 ] || fail "the main window's client area is $size, not 386x342"
# WS_THICKFRAME (0x00040000) is the frame the user can resize.
read -r _ main_style _ main_exstyle _ main_outer _ main_client < <(probe window "$main_title")
(((0x$main_style & 0x00040000) == 0 && (0x$main_style & 0x00c80000) == 0x00c80000)) ||
    fail "the main window's styles are ${main_style:-none}, not a fixed frame with caption and system menu"
ok "the main window shows, titled and sized as designed, in a fixed frame (styles $main_style $main_exstyle, outer size $main_outer)"

within 20 xdotool windowactivate --sync "$main" 2>/dev/null || fail "the main window is never active"
# Into the starting pressure, over its text; Tab then selects each next box's text.
click_control "$main" TxTZpritisk
xdotool key ctrl+a
for text in 50 21 32 200; do
    xdotool type --delay 50 "$text"
    xdotool key --delay 50 Tab
done
click_control "$main" CmdIzracun
sleep 1
# The number in the result sentence (Lblprocent: 232, 272, 57 × 33), read from the screen.
import -window "$main" -crop 57x33+232+272 -resize 400% -colorspace Gray \
    "$work/result.png" || fail "no screenshot of the result"
shown=$(tesseract "$work/result.png" - --psm 7 2>/dev/null | tr -d ' \n\f')
[ "$shown" = "$expected" ] || fail "the result shows '$shown', not '$expected'"
import -window root "$work/main.png" || fail "no screenshot"
ok "the worked example typed by keyboard shows $expected"

click_control "$main" CmdAvtor
about=''
within 20 eval 'about=$(window "O kalkulatorju") && [ -n "$about" ]' || fail "no About window"
sleep 1
read -r _ about_style _ about_exstyle _ about_outer _ about_client < <(probe window "O kalkulatorju")
(((0x$about_style & 0x00040000) == 0 && (0x$about_exstyle & 0x80) == 0x80)) ||
    fail "the About window's styles are ${about_style:-none} ${about_exstyle:-}, not a fixed tool window"
# The thin fixed frame is 3 pixels at each side; the small caption's height is the system's
# (318 x 181 outside with Wine 8, 2 pixels taller with Wine 10).
[ "${about_client%%+*}" = 312x159 ] || fail "the About window's client area is $about_client, not 312x159"
[ "${about_outer%x*}" = 318 ] || fail "the About window's outer size is $about_outer, not 318 wide"
ok "the About window is a fixed tool window of 312x159 inside, $about_outer outside (styles $about_style $about_exstyle)"
# Both windows as the user sees them, kept with the test's output.
import -window root "$work/both.png" || fail "no screenshot"
cp "$work/both.png" "$PWD/marevo-wine-${locale%%.*}.png"
# Bold and regular captions, from the client areas' corners (WIDTHxHEIGHT+X+Y).
IFS='x+' read -r _ _ mx my <<<"$main_client"
IFS='x+' read -r _ _ ax ay <<<"$about_client"
widths=''
for caption in "heading main $((mx + 16)) $((my + 16)) 249 25 bold" \
    "Izračunaj main $((mx + 300)) $((my + 68)) 65 17 bold" \
    "author both $((ax + 96)) $((ay + 8)) 209 17 bold" \
    "web-address both $((ax + 96)) $((ay + 88)) 145 17 regular"; do
    read -r name screenshot x y w h weight <<<"$caption"
    width=$(stroke_width "$work/$screenshot.png" "$x" "$y" "$w" "$h")
    widths+="$name $width, "
    case $weight in
    bold) [ "$width" -ge 13 ] || fail "the $name caption is not bold (strokes $width tenths of a pixel)" ;;
    regular) [ "$width" -lt 13 ] || fail "the $name caption is bold (strokes $width tenths of a pixel)" ;;
    esac
done
ok "bold captions are bold, regular ones regular (stroke widths in tenths of a pixel: ${widths%, })"
# Wine draws the tool window's caption inside it: Zapri, which has the focus, by key.
xdotool key space
within 20 eval '[ -z "$(window "O kalkulatorju")" ]' || fail "Zapri did not close the About window"
# Alt+F4 closes it as Zapri does, though it has no caption buttons. Sent to the window itself:
# openbox takes the key for its own close request, which Wine passes on to no caption-less window.
click_control "$main" CmdAvtor
within 20 eval '[ -n "$(window "O kalkulatorju")" ]' || fail "no About window the second time"
xdotool key --window "$(window "O kalkulatorju")" alt+F4
xdotool keyup F4 alt # as with Esc in cancels_question
within 20 eval '[ -z "$(window "O kalkulatorju")" ]' || fail "Alt+F4 did not close the About window"

# --- installing over and uninstalling the running program

case $locale in
sl*) close_it=Zaprite ;;
*) close_it='Close it' ;;
esac
before=$(installed)
# "_?=" runs the uninstaller in place, so that its exit status is its own; NSIS takes the folder
# only without quotes, so without blanks: its short name.
in_place="_?=$(winepath -s 'C:\Program Files\Kalkulator Marevo' 2>/dev/null | tr -d '\r')"
status=0
timeout 120 wine "$setup" /S >>"$work/wine.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the setup program over the running program ended with status $status"
status=0
timeout 120 wine "$program_dir/Uninstall.exe" /S "$in_place" >>"$work/wine.log" 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the uninstaller of the running program ended with status $status"
[ "$(installed)" = "$before" ] || fail "the running program's folder changed: $(installed)"
[ -n "$(shortcuts)" ] && [ -n "$(registered)" ] || fail "the shortcut or the entry went"
cancels_question "$close_it" "the uninstaller" "$program_dir/Uninstall.exe" "$in_place"
[ "$(installed)" = "$before" ] || fail "the running program's folder changed: $(installed)"
ok "setup and uninstaller leave the running program alone and ask to close it ('$close_it')"

click_control "$main" CmdIzhod
within 20 eval '! kill -0 "$marevo_pid" 2>/dev/null' || fail "Izhod did not end the program"
status=0
wait "$marevo_pid" || status=$?
forget "$marevo_pid"
[ "$status" -eq 0 ] || fail "the program ended with status $status"
ok "the About window opens and closes by Zapri and by Alt+F4; Izhod ends the program"

# --- under other system colours, which Wine reads as a program starts: Windows' dark mode for
# apps, then High Contrast Black (drawn without visual styles, as Windows draws it). Every
# caption and panel border of both windows still reads on its light fill.

colours='HKCU\Control Panel\Colors'
theme='HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager'
personalize='HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'
set_value() { wine reg add "$1" /v "$2" /t "$3" /d "$4" /f >>"$work/wine.log" 2>&1 || fail "$1\\$2 not set"; }
# One window's client area on the screen, in the screenshot: how its captions read. Tried until
# they read, for a window just mapped may not yet be drawn.
reads() { # title part-table screenshot
    local client x y
    read -r _ _ _ _ _ _ _ client < <(probe window "$1")
    IFS='x+' read -r _ _ x y <<<"$client"
    reads_on_screen root "$3" "$2" "$x" "$y"
}
reads_under() { # scheme
    local pid main about shot="$PWD/marevo-wine-$1"
    wine "$program_dir/marevo.exe" >>"$work/wine.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    within 60 eval 'main=$(window "$main_title") && [ -n "$main" ]' ||
        fail "under $1 the main window did not appear"
    within 10 reads "$main_title" main "$shot-main.png" >"$work/contrast.log" ||
        fail "under $1 the main window does not read: $(tail -n 12 "$work/contrast.log")"
    click_control "$main" CmdAvtor
    within 20 eval 'about=$(window "O kalkulatorju") && [ -n "$about" ]' || fail "no About window"
    within 10 reads "O kalkulatorju" about "$shot-about.png" >>"$work/contrast.log" ||
        fail "under $1 the About window does not read: $(tail -n 8 "$work/contrast.log")"
    cat "$work/contrast.log"
    xdotool key space # Zapri
    within 20 eval '[ -z "$(window "O kalkulatorju")" ]' || fail "Zapri did not close the About window"
    click_control "$main" CmdIzhod
    within 20 eval '! kill -0 "$pid" 2>/dev/null' || fail "Izhod did not end the program"
    wait "$pid" || fail "under $1 the program ended with status $?"
    forget "$pid"
}
if [[ $locale == en* ]]; then
    for key in "$colours" "$theme"; do
        wine reg export "$key" "$(winepath -w "$work/${key##*\\}.reg")" /y >>"$work/wine.log" 2>&1 ||
            fail "$key could not be saved"
    done
    set_value "$personalize" AppsUseLightTheme REG_DWORD 0
    reads_under dark-mode
    set_value "$personalize" AppsUseLightTheme REG_DWORD 1
    set_value "$theme" ThemeActive REG_SZ 0
    for colour in Background:0 ButtonFace:0 ButtonText:255 GrayText:'0 255 0' Hilight:'128 0 128' \
        HilightText:255 InfoText:255 InfoWindow:0 Menu:0 MenuText:255 Window:0 WindowFrame:255 \
        WindowText:255 ButtonShadow:128 ButtonHilight:255 ButtonLight:255 ButtonDkShadow:0 \
        TitleText:255 ActiveTitle:'128 0 128' InactiveTitle:'0 128 0' InactiveTitleText:255; do
        value=${colour#*:}
        [[ $value == *' '* ]] || value="$value $value $value"
        set_value "$colours" "${colour%%:*}" REG_SZ "$value"
    done
    reads_under high-contrast-black
    for key in "$colours" "$theme"; do
        wine reg import "$(winepath -w "$work/${key##*\\}.reg")" >>"$work/wine.log" 2>&1 ||
            fail "$key could not be restored"
    done
    ok "under dark mode for apps and High Contrast Black every caption and panel border reads"
fi

# --- installing again: the question comes in the user's language

case $locale in
sl*) question=odstranjena ;;
*) question=uninstalled ;;
esac
cancels_question "$question" "the setup program" "$setup"
ok "the setup program asks before it replaces the installed version ('$question')"

# --- uninstall

timeout 120 wine "$program_dir/Uninstall.exe" /S >>"$work/wine.log" 2>&1 || fail "the uninstaller failed"
timeout 120 wineserver -w || fail "the uninstaller did not end"
[ ! -e "$program_dir" ] || fail "the uninstaller left $(find "$program_dir" | head -n 5)"
[ -z "$(shortcuts)" ] || fail "the uninstaller left $(shortcuts)"
[ -z "$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/*' -name 'Kalkulator Marevo')" ] ||
    fail "the uninstaller left the Start-menu folder"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "the uninstaller left the entry in Apps & features"
! wine reg query "$vendor_key" >/dev/null 2>&1 || fail "the uninstaller left $vendor_key"
ok "the uninstaller removes the program, its shortcut, its entry and its registry key"
