#!/usr/bin/env bash
# The installer on a Windows of its own: installs build/dist's MSI with
# msiexec in a fresh Wine prefix, starts the installed program through its
# Start-menu shortcut and through "Edit with Marlin" on a registry file, and
# waits for its sheet each time; uninstalls, and finds no file, shortcut,
# verb or installed-programs entry left, while the user's backups and
# regedit's double-click stay. tools/package.sh writes the MSI first.
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

# Windows gives .reg files to regedit ("regfile", whose default verb merges
# them); a Wine prefix has no association for them.
REGFILE_OPEN='"C:\windows\regedit.exe" "%1"'
wine reg add 'HKCR\.reg' /ve /d regfile /f >/dev/null 2>&1
wine reg add 'HKCR\regfile\shell\open\command' /ve /d "$REGFILE_OPEN" /f >/dev/null 2>&1
# The key's default value, without reg's listing around it; empty when unset.
value_of() { wine reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n '/(value not set)/d; s/.*REG_SZ *//p'; }

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

# Opening a file from Explorer needs no administrator.
grep -q 'level="asInvoker"' "$INSTALLED/marlin.exe" && ! grep -q requireAdministrator "$INSTALLED/marlin.exe" ||
    fail "the manifest does not ask for asInvoker"

# The program that shows the sheet, with that caption, must be the installed
# one; Escape closes it.
installed_sheet_shown() {
    SHEET_CAPTION=$1
    wait_for sheet_shown || fail "$2 showed no sheet \"$1\""
    marlin_pid=$(xdotool getwindowpid "$sheet")
    TARGET=$(tr '\0' '\n' <"/proc/$marlin_pid/cmdline" | head -n 1)
    [ "$TARGET" = 'C:\Program Files\Marlin\marlin.exe' ] || { kill "$marlin_pid"; fail "$2 started $TARGET"; }
    sleep 1
    xdotool key Escape
    wait_for marlin_ended || { kill "$marlin_pid"; fail "Marlin did not close on Escape"; }
}

# The shortcut opened through the shell, as a click on it opens it: a
# computer holds no handheld's settings, so the sheet is untitled.
wine start "$(winepath -w "$SHORTCUT")" >/dev/null 2>&1 </dev/null || fail "the shell did not open the shortcut"
installed_sheet_shown '^Untitled - Marlin$' "the shortcut"

# A registry file's verb, run through the shell as Explorer runs it.
cp tests/program/sample-device.reg "$DRIVE_C/device.reg"
build_preset windows --target shell_verb >/dev/null
wine build/windows/tests/install/shell_verb.exe EditWithMarlin 'C:\device.reg' >/dev/null 2>&1 </dev/null ||
    fail "the shell has no \"Edit with Marlin\" for registry files"
installed_sheet_shown '^device\.reg - Marlin$' "\"Edit with Marlin\""

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
! wine reg query 'HKCR\regfile\shell\EditWithMarlin' >/dev/null 2>&1 || fail "\"Edit with Marlin\" is still there"
[ "$(value_of 'HKCR\.reg')" = regfile ] && [ -z "$(value_of 'HKCR\regfile\shell')" ] &&
    [ "$(value_of 'HKCR\regfile\shell\open\command')" = "$REGFILE_OPEN" ] || fail "double-click is no longer regedit's"
[ -f "$BACKUPS/20261208-000000.reg" ] || fail "the user's backup went with the program"
echo "install test: installed, started from the Start menu and from a registry file's verb, uninstalled; nothing left, backups and regedit's double-click kept"
