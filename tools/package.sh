#!/usr/bin/env bash
# Builds the release configuration and writes the portable zip and the
# installer into build/dist/: marlin-<version>-x64.zip and .msi.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

install_packages
build_preset release
VERSION=$(cat build/release/generated/version.txt)
INSTALLER_VERSION=$(cat build/release/generated/installer-version.txt)   # 2.01 is 2.0.1
DIST=build/dist
rm -rf "$DIST"
mkdir -p "$DIST/marlin-$VERSION"
cp build/release/app/marlin.exe res/marlin.htm res/marlin-ja.htm installer/readme.txt "$DIST/marlin-$VERSION/"
cp LICENSE "$DIST/marlin-$VERSION/LICENSE.txt"
# Text files travel with Windows line ends.
sed -i 's/$/\r/' "$DIST/marlin-$VERSION/readme.txt" "$DIST/marlin-$VERSION/LICENSE.txt"
(cd "$DIST" && zip -q -r -X "marlin-$VERSION-x64.zip" "marlin-$VERSION")
# The installer's sources are named from installer/, which wixl takes paths
# from.
(cd installer && wixl -a x64 -D Version="$INSTALLER_VERSION" \
    -D SourceDir=.. -D BuildDir=../build/release -o "../$DIST/marlin-$VERSION-x64.msi" marlin.wxs)
rm -rf "${DIST:?}/marlin-$VERSION"
echo "Written:"
echo "    $DIST/marlin-$VERSION-x64.zip"
echo "    $DIST/marlin-$VERSION-x64.msi"
