#!/usr/bin/env bash
# Installs what is missing, builds both configurations and runs every test:
# natively under the sanitizers, the fuzz targets once over their seeds, the
# Windows build under Wine, and the packages' installer in a Wine of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

install_packages

build_preset native
ctest --preset native
tools/fuzz.sh --replay

build_preset windows
tools/wine-tests.sh

tools/package.sh
tests/install/install-test.sh
