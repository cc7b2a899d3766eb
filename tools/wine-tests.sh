#!/usr/bin/env bash
# The Windows tests, in the project's Wine prefix with one wineserver.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

use_wine_prefix
start_wineserver
unmanaged_windows
ctest --preset windows "$@"
