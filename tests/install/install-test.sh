#!/usr/bin/env bash
# The installer on a Windows of its own: installs build/dist's MSI with
# msiexec in a fresh Wine prefix, starts the installed program through its
# Start-menu shortcut and waits for its sheet, uninstalls, and finds no file,
# shortcut or installed-programs entry left, while the user's backups stay.
# tools/package.sh writes the MSI first.
set -euo pipefail
cd "$(dirname "$0")/../.."
. tools/setup.sh

MSI=$(ls build/dist/marlin-*-x64.msi)
VERSION=$(cat build/release/generated/installer-version.txt)
WAIT_S=30

fail() {
    echo "install test: $1" >&2
    exit 1
}

# The installed-programs entries that match: the whole listing is read first,
# since grep -q stopping early would fail a pipe under pipefail.
entries_matching() {
    local entries
    entries=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r')
    grep -c "$1" <<<"$entries" || true
}

rm -rf build/install-prefix
use_wine_prefix "$PWD/build/install-prefix"
ensure_display
start_wineserver
unmanaged_windows
DRIVE_C=$WINEPREFIX/drive_c
INSTALLED="$DRIVE_C/Program Files/Marlin"
BACKUPS=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')")/Marlin/Backups

wine msiexec /i "$(winepath -w "$MSI")" /qn || fail "msiexec /i failed"
for file in marlin.exe marlin.htm marlin-ja.htm readme.txt LICENSE.txt; do
    [ -f "$INSTALLED/$file" ] || fail "$file is not in Program Files\\Marlin"
done
SHORTCUT=$(find "$DRIVE_C" -name Marlin.lnk -print -quit)
[ -n "$SHORTCUT" ] || fail "no Start-menu shortcut"
case "$SHORTCUT" in *"/Start Menu/Programs/Marlin.lnk") ;; *) fail "the shortcut is at $SHORTCUT" ;; esac
[ "$(entries_matching 'DisplayName.*REG_SZ.*Marlin$')" = 1 ] || fail "no installed-programs entry"
[ "$(entries_matching "DisplayVersion.*REG_SZ.*$VERSION")" = 1 ] ||
    fail "the entry has no version"
# Windows takes the entry's icon from the package; Wine's msiexec writes no
# DisplayIcon, so the package itself is read.
# (Each read whole first, as above.)
# The Icon table's export writes each icon into ./Icon: into the prefix's folder.
PROPERTIES=$(msiinfo export "$MSI" Property) ICONS=$(cd "$WINEPREFIX" && msiinfo export "$OLDPWD/$MSI" Icon)
grep -q '^ARPPRODUCTICON.marlin.ico' <<<"$PROPERTIES" && grep -q '^marlin.ico' <<<"$ICONS" || fail "the entry has no icon"

# The shortcut opened through the shell, as a click on it opens it; the
# program that shows the sheet must be the installed one.
wine start "$(winepath -w "$SHORTCUT")" >/dev/null 2>&1 </dev/null || fail "the shell did not open the shortcut"
wait_for sheet_shown || fail "the shortcut showed no sheet"
marlin_pid=$(xdotool getwindowpid "$sheet")
TARGET=$(tr '\0' '\n' <"/proc/$marlin_pid/cmdline" | head -n 1)
[ "$TARGET" = 'C:\Program Files\Marlin\marlin.exe' ] || { kill "$marlin_pid"; fail "the shortcut started $TARGET"; }
sleep 1
xdotool key Escape
wait_for marlin_ended || { kill "$marlin_pid"; fail "Marlin did not close on Escape"; }

# A later version replaces this one: one entry, the later version's.
LATER=build/install-prefix/marlin-later.msi
(cd installer && wixl -a x64 -D Version=99.0.0 -D SourceDir=.. -D BuildDir=../build/release -o "../$LATER" marlin.wxs)
wine msiexec /i "$(winepath -w "$LATER")" /qn || fail "msiexec /i of a later version failed"
[ "$(entries_matching 'DisplayName.*REG_SZ.*Marlin$')" = 1 ] || fail "the later version did not replace the earlier"
[ "$(entries_matching 'DisplayVersion.*REG_SZ.*99\.0\.0')" = 1 ] || fail "the entry is not the later version's"
MSI=$LATER

# A backup the user made survives the uninstall.
mkdir -p "$BACKUPS"
echo kept >"$BACKUPS/20261208-000000.reg"
wine msiexec /x "$(winepath -w "$MSI")" /qn || fail "msiexec /x failed"
[ ! -e "$INSTALLED" ] || fail "Program Files\\Marlin is still there: $(ls "$INSTALLED")"
[ ! -e "$SHORTCUT" ] || fail "the shortcut is still there"
[ "$(entries_matching 'DisplayName.*Marlin$')" = 0 ] || fail "the installed-programs entry is still there"
! wine reg query 'HKLM\Software\Marlin' >/dev/null 2>&1 || fail "HKLM\\Software\\Marlin is still there"
[ -f "$BACKUPS/20261208-000000.reg" ] || fail "the user's backup went with the program"
echo "install test: installed, started from the Start menu and uninstalled; nothing left, backups kept"
