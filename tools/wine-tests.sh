#!/usr/bin/env bash
# The Windows tests, in the project's Wine prefix with one wineserver and a
# display (a virtual one where there is none).
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

use_wine_prefix
ensure_display
start_wineserver
unmanaged_windows
fonts_follow_language
ctest --preset windows "$@"
