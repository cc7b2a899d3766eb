# Sourced by the scripts in tools/: installs what the build and the tests
# need, and runs Wine in the project's own prefix.

# libclang-rt holds libFuzzer, which clang only recommends (tools/fuzz.sh).
# fonts-sawarabi-gothic (1.8 MB installed) gives Wine glyphs for Japanese
# text; fonts-vlgothic (8 MB) would too, but Wine then takes its fixed-width
# face, Latin letters and all.
PACKAGES="cmake ninja-build g++ googletest clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
    wine wine64 fonts-wine fonts-liberation fonts-sawarabi-gothic xvfb x11-apps x11-utils xdotool imagemagick msitools wixl zip"

install_packages() {
    local missing=
    for package in $PACKAGES; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

# Configures a preset of CMakePresets.json and builds it, with the build's
# further arguments (--target ...).
build_preset() {
    local preset=$1
    shift
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" "$@"
}

# Quiet, non-interactive Wine in a prefix inside the build tree: the tests'
# prefix, or the one given.
use_wine_prefix() {
    export WINEPREFIX="${1:-$PWD/build/windows/wineprefix}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
}

# Where tools/run.sh and the start-up benchmark run the program: a prefix
# that keeps a handheld's registry between runs (the tests remove HKLM\Comm
# from theirs).
DEVICE_PREFIX="$PWD/build/windows/device-prefix"

# Gives the current prefix the sample handheld's registry, unless it has an
# HKLM\Comm already: the user's saved changes survive. Needs the wineserver.
SAMPLE_REGISTRY=tests/program/sample-device.reg
import_sample_registry() {
    timeout 60 wine reg query 'HKLM\Comm' >/dev/null 2>&1 </dev/null && return 0
    echo "Loading $SAMPLE_REGISTRY into $WINEPREFIX"
    timeout 60 wine regedit /S "$(winepath -w "$SAMPLE_REGISTRY")" >/dev/null 2>&1 </dev/null
    if ! timeout 60 wine reg query 'HKLM\Comm\Tcpip\Parms' >/dev/null 2>&1 </dev/null; then
        echo "The sample registry did not load into $WINEPREFIX" >&2
        return 1
    fi
}

# What runs when the script ends, latest first.
EXIT_COMMANDS=true
on_exit() {
    EXIT_COMMANDS="$1; $EXIT_COMMANDS"
    trap "$EXIT_COMMANDS" EXIT
}

# One wineserver for the whole run, so that each process starts quickly.
# Its output goes to /dev/null, or it would hold our pipes open.
# The first process of a session also starts Wine's own services; pay for
# that here rather than inside a test's time limit.
start_wineserver() {
    wineserver -p >/dev/null 2>&1 </dev/null || true
    on_exit "wineserver -k >/dev/null 2>&1 || true"
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# Under Xvfb there is no window manager: Wine draws the frames itself, and
# manages no windows, or it waits 2 s for each hidden one to be withdrawn.
# With a real display the window manager takes over again. Needs the
# wineserver.
X11_DRIVER='HKCU\Software\Wine\X11 Driver'
unmanaged_windows() {
    wine reg add "$X11_DRIVER" /v Managed /d N /f >/dev/null 2>&1 </dev/null
    wine reg add "$X11_DRIVER" /v Decorated /d N /f >/dev/null 2>&1 </dev/null
}
managed_windows() {
    wine reg delete "$X11_DRIVER" /v Managed /f >/dev/null 2>&1 </dev/null || true
    wine reg delete "$X11_DRIVER" /v Decorated /f >/dev/null 2>&1 </dev/null || true
}

# Booting a prefix writes the fonts of menus, captions and message boxes
# into the user's profile, made for the language it booted in: English ones
# have no Japanese glyphs. Without them each program gets the system's
# fonts for the language it starts in, as on Windows. Needs the wineserver.
WINDOW_METRICS='HKCU\Control Panel\Desktop\WindowMetrics'
fonts_follow_language() {
    local font
    for font in CaptionFont IconFont MenuFont MessageFont SmCaptionFont StatusFont; do
        wine reg delete "$WINDOW_METRICS" /v "$font" /f >/dev/null 2>&1 </dev/null || true
    done
}

# Without a display (CI, a terminal over ssh), a virtual screen that lasts
# until the script ends. The first Wine process of a wineserver session
# fixes the display for the session, so this comes before start_wineserver.
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local number_file
    number_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 </dev/null &
    on_exit "kill $! 2>/dev/null || true; rm -f $number_file"
    if ! WAIT_S=30 wait_for test -s "$number_file"; then
        echo "Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$number_file")"
}

# Runs the command until it succeeds, for at most WAIT_S seconds.
wait_for() {
    local deadline=$((SECONDS + WAIT_S))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# Marlin's sheet, on the screen: its window id in $sheet. Its caption is
# SHEET_CAPTION (a pattern), "Marlin" on a handheld's registry unless told.
sheet_shown() {
    sheet=$(xdotool search --onlyvisible --name "${SHEET_CAPTION:-^Marlin\$}" | head -n 1)
    [ -n "$sheet" ]
}

# The Marlin started as $marlin_pid has ended.
marlin_ended() { ! kill -0 "$marlin_pid" 2>/dev/null; }
