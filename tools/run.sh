#!/usr/bin/env bash
# Runs Marlin in a Wine prefix that holds a sample handheld's registry
# (build/windows/device-prefix). With a display it shows the sheet and waits
# for the user to close it. Without one it runs on a virtual screen, saves a
# picture of each page, of the Settings menu and of the About box in
# build/windows/screenshots, and cancels the sheet.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

MARLIN=build/windows/app/marlin.exe
# The end-to-end tests' program also drives the sheet from outside.
DRIVER=build/windows/tests/program/program_tests.exe
SCREENSHOTS=build/windows/screenshots
# The pages in the order of their tabs.
PAGES="rwin default-ttl pmtu other"
EXIT_S=10     # from Cancel until the process has ended

drive() {
    wine "$DRIVER" --drive "$@" </dev/null | tr -d '\r'
}

start_marlin() {
    wine "$MARLIN" >/dev/null 2>&1 </dev/null &
    marlin_pid=$!
}

# Ends Marlin and fails when something took too long.
give_up() {
    echo "$1" >&2
    kill "$marlin_pid" 2>/dev/null || true
    exit 1
}

wait_for_exit() {
    local deadline=$((SECONDS + EXIT_S))
    while kill -0 "$marlin_pid" 2>/dev/null; do
        [ "$SECONDS" -lt "$deadline" ] || give_up "Marlin still runs ${EXIT_S} s after Cancel"
        sleep 0.1
    done
    wait "$marlin_pid" || true
}

run_for_user() {
    start_marlin
    drive wait >/dev/null || give_up "Marlin showed no sheet"
    wait "$marlin_pid" || true
}

# Under Xvfb there is no window manager: Wine draws the frame, and the
# sheet's rectangle on the root window is the one Wine reports.
take_screenshots() {
    start_marlin
    local rect x y width height
    rect=$(drive wait) || give_up "Marlin showed no sheet"
    read -r x y width height <<<"$rect"
    rm -rf "$SCREENSHOTS"
    mkdir -p "$SCREENSHOTS"
    local page=0 name
    for name in $PAGES; do
        drive select "$page" >/dev/null || give_up "Marlin did not show page $page"
        xwd -root -silent | convert xwd:- -crop "${width}x${height}+${x}+${y}" +repage "$SCREENSHOTS/$name.png"
        page=$((page + 1))
    done
    drive select 0 >/dev/null || give_up "Marlin did not show page 0"
    # The Settings menu open over the sheet, and the About box.
    local menu_x menu_y menu_width menu_height
    rect=$(drive menu) || give_up "Marlin showed no menu"
    read -r x y width height menu_x menu_y menu_width menu_height <<<"$(echo $rect)"
    xwd -root -silent | convert xwd:- -crop "${width}x${height}+${x}+${y}" +repage "$SCREENSHOTS/menu.png"
    shoot_window "$menu_x" "$menu_y" "$menu_width" "$menu_height" "$SCREENSHOTS/popup.png"
    convert "$SCREENSHOTS/menu.png" "$SCREENSHOTS/popup.png" -geometry "+$((menu_x - x))+$((menu_y - y))" \
        -composite "$SCREENSHOTS/menu.png"
    rm "$SCREENSHOTS/popup.png"
    drive escape || give_up "Marlin did not close its menu"
    rect=$(drive about) || give_up "Marlin showed no About box"
    read -r x y width height <<<"$rect"
    shoot_window "$x" "$y" "$width" "$height" "$SCREENSHOTS/about.png"
    drive escape || give_up "Marlin did not close its About box"
    drive cancel || give_up "Marlin did not close on Cancel"
    wait_for_exit
    echo "Pictures of the four pages, the Settings menu and the About box in $SCREENSHOTS:"
    for name in $PAGES menu about; do
        echo "    $SCREENSHOTS/$name.png"
    done
}

# A picture of the X window with this place and size, into the file. Wine
# draws pop-ups (menus, the About box) where a picture of the whole screen
# does not see them, so they are taken window by window.
shoot_window() {
    local id
    id=$(xwininfo -root -tree | awk -v geometry="$3x$4+$1+$2" 'index($0, " " geometry " ") { print $1; exit }')
    [ -n "$id" ] || give_up "no window at $3x$4+$1+$2"
    xwd -id "$id" -silent | convert xwd:- "$5"
}

install_packages
cmake --preset windows >/dev/null
cmake --build --preset windows --target marlin program_tests
# Boot the prefix before any display is involved; it is kept for next time.
use_wine_prefix "$DEVICE_PREFIX"

headless=no
[ -n "${DISPLAY:-}" ] || headless=yes
ensure_display
start_wineserver
import_sample_registry
if [ "$headless" = yes ]; then
    unmanaged_windows
    take_screenshots
else
    managed_windows
    run_for_user
fi
