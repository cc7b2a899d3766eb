#!/usr/bin/env bash
# Runs Marlin in a Wine prefix that holds a sample handheld's registry
# (build/windows/device-prefix). With a display it shows the sheet and waits
# for the user to close it. Without one it runs on a virtual screen, saves a
# picture of each page, of the File and Settings menus, of the About box and
# of the Window Calculator in build/windows/screenshots, and cancels the
# sheet; then one of the untitled sheet a computer without a handheld's
# registry shows (in a prefix of its own, build/windows/computer-prefix).
# MARLIN_LANG=ja runs it in Japanese, and keeps its pictures in ja/ folders
# of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

MARLIN=build/windows/app/marlin.exe
SCREENSHOTS=build/windows/screenshots
README_PICTURES=doc/screenshots
# Wine takes the user's interface language from the locale it starts in.
MARLIN_LOCALE=
case "${MARLIN_LANG:-en}" in
en) ;;
ja)
    MARLIN_LOCALE=ja_JP.UTF-8
    SCREENSHOTS=$SCREENSHOTS/ja
    README_PICTURES=$README_PICTURES/ja
    ;;
*)
    echo "MARLIN_LANG is en or ja, not $MARLIN_LANG" >&2
    exit 2
    ;;
esac
# The pages in the order of their tabs.
PAGES="rwin default-ttl pmtu other"
WAIT_S=10     # for a window to show or go, or the process to end

COMPUTER_PREFIX="$PWD/build/windows/computer-prefix"

start_marlin() {
    ${MARLIN_LOCALE:+env LC_ALL=$MARLIN_LOCALE} wine "$MARLIN" >/dev/null 2>&1 </dev/null &
    marlin_pid=$!
}

# Ends Marlin and fails when something took too long.
give_up() {
    echo "$1" >&2
    kill "$marlin_pid" 2>/dev/null || true
    exit 1
}

# A pop-up of Marlin's over the sheet (a menu, a dialog): its other
# visible windows are the sheet and Wine's 1x1 ones.
popup_shown() {
    local id WIDTH
    popup=
    for id in $(xdotool search --onlyvisible --classname '^marlin\.exe$'); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        [ "$id" = "$sheet" ] || [ "$WIDTH" -le 1 ] || popup=$id
    done
    [ -n "$popup" ]
}

no_popup() { ! popup_shown; }

# Keys go to the window in front, as a user's do; a moment lets it paint.
press() {
    xdotool key --delay 100 "$@"
    sleep 0.5
}

shoot() {
    xwd -id "$1" -silent | convert xwd:- "$2"
}

run_for_user() {
    start_marlin
    wait_for sheet_shown || give_up "Marlin showed no sheet"
    wait "$marlin_pid" || true
}

# Without a window manager Wine draws every frame itself, so each window is
# taken on its own; the Settings menu is laid over the sheet where it opened.
take_screenshots() {
    start_marlin
    wait_for sheet_shown || give_up "Marlin showed no sheet"
    rm -f "$SCREENSHOTS"/*.png
    mkdir -p "$SCREENSHOTS"
    sleep 0.5
    local name
    for name in $PAGES; do
        shoot "$sheet" "$SCREENSHOTS/$name.png"
        press ctrl+Tab
    done
    shoot_menu file-menu Down
    shoot_menu menu Right Down
    press F10 Right Right Down Down Return   # Help: Contents, (separator), About
    wait_for popup_shown || give_up "Marlin showed no About box"
    shoot "$popup" "$SCREENSHOTS/about.png"
    press Escape
    wait_for no_popup || give_up "Marlin did not close its About box"
    # Settings: the last item but one. The FOMA preset's link, as an example.
    press F10 Right Down Up Up Return
    wait_for popup_shown || give_up "Marlin showed no Window Calculator"
    press 3 8 4 Tab 1 3 3 5
    shoot "$popup" "$SCREENSHOTS/calculator.png"
    press Escape
    wait_for no_popup || give_up "Marlin did not close its Window Calculator"
    press Escape
    wait_for marlin_ended || give_up "Marlin still runs ${WAIT_S} s after Cancel"
    wait "$marlin_pid" || true
    shoot_untitled
    echo "Pictures of the four pages, the File and Settings menus, the About box, the Window Calculator and the"
    echo "untitled sheet in $SCREENSHOTS:"
    for name in $PAGES $MENUS about calculator untitled; do
        echo "    $SCREENSHOTS/$name.png"
    done
    compare_with_readme $PAGES $MENUS about calculator untitled
}

# The menu bar's pop-up that the keys after F10 open, laid over the sheet
# where it opened, as NAME.png.
MENUS="file-menu menu"
shoot_menu() {
    local name=$1 X Y sheet_x sheet_y
    shift
    press F10 "$@"
    wait_for popup_shown || give_up "Marlin showed no menu for F10 $*"
    eval "$(xdotool getwindowgeometry --shell "$sheet")"
    sheet_x=$X sheet_y=$Y
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    shoot "$popup" "$SCREENSHOTS/popup.png"
    shoot "$sheet" "$SCREENSHOTS/$name.png"
    convert "$SCREENSHOTS/$name.png" "$SCREENSHOTS/popup.png" -geometry "+$((X - sheet_x))+$((Y - sheet_y))" \
        -composite "$SCREENSHOTS/$name.png"
    rm "$SCREENSHOTS/popup.png"
    press Escape Escape
    wait_for no_popup || give_up "Marlin did not close its menu"
}

# A computer's registry has no HKLM\Comm\Tcpip: Marlin starts on untitled
# settings. Its own prefix and wineserver, on the same screen.
shoot_untitled() {
    wineserver -k >/dev/null 2>&1 || true
    use_wine_prefix "$COMPUTER_PREFIX"
    start_wineserver
    unmanaged_windows
    fonts_follow_language
    start_marlin
    SHEET_CAPTION=' - Marlin$' wait_for sheet_shown || give_up "Marlin showed no untitled sheet"
    sleep 0.5
    shoot "$sheet" "$SCREENSHOTS/untitled.png"
    press Escape
    wait_for marlin_ended || give_up "Marlin still runs ${WAIT_S} s after Cancel"
    wait "$marlin_pid" || true
}

# The README shows the pictures in doc/screenshots; say which of them no
# longer match what the program draws.
compare_with_readme() {
    local name differing=
    for name in "$@"; do
        if [ ! -f "$README_PICTURES/$name.png" ] ||
            ! compare -metric AE "$SCREENSHOTS/$name.png" "$README_PICTURES/$name.png" null: 2>/dev/null; then
            differing="$differing $name.png"
        fi
    done
    if [ -n "$differing" ]; then
        echo "These pictures differ from the README's in $README_PICTURES:$differing"
        echo "    to refresh them: cp $SCREENSHOTS/*.png $README_PICTURES/"
    else
        echo "The README's pictures in $README_PICTURES match."
    fi
}

install_packages
build_preset windows --target marlin
# Boot the prefix before any display is involved; it is kept for next time.
use_wine_prefix "$DEVICE_PREFIX"

headless=no
[ -n "${DISPLAY:-}" ] || headless=yes
ensure_display
start_wineserver
import_sample_registry
fonts_follow_language
if [ "$headless" = yes ]; then
    unmanaged_windows
    take_screenshots
else
    managed_windows
    run_for_user
fi
