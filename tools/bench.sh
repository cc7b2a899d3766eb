#!/usr/bin/env bash
# Prints the benchmark figures: natively (optimised, no sanitizers), the
# Windows build under Wine, and the program's start-up time against a
# one-page sheet (STARTUP_ROUNDS rounds, 40 unless set),
# and its size against that sheet's.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

STARTUP_ROUNDS=${STARTUP_ROUNDS:-40}

install_packages
build_preset bench --target params_bench regfile_bench >/dev/null
echo "== native"
build/bench/bench/params_bench
echo "== registry file, native"
build/bench/bench/regfile_bench

build_preset windows --target params_bench startup_bench >/dev/null
(
    use_wine_prefix
    start_wineserver
    echo "== Windows build under Wine"
    wine build/windows/bench/params_bench.exe
    # The server writes out the thousands of keys the benchmark made as it
    # ends; nothing is timed until it has.
    wineserver -k
    wineserver -w
)

# Start-up and size: the release build of the program against a bare
# one-page sheet built in the same configuration (same toolchain and flags,
# static, optimised for size), both stripped as the release is.
echo "== start-up under Wine"
build_preset release --target marlin minimal_sheet >/dev/null
program=build/release/app/marlin.exe
baseline=build/release/bench/minimal_sheet.exe
x86_64-w64-mingw32-strip "$baseline"
# The program reads the sample handheld's registry at start-up, so it runs in
# the device prefix, with a display.
headless=no
[ -n "${DISPLAY:-}" ] || headless=yes
use_wine_prefix "$DEVICE_PREFIX"
ensure_display
start_wineserver
import_sample_registry
if [ "$headless" = yes ]; then unmanaged_windows; else managed_windows; fi
timeout 900 wine build/windows/bench/startup_bench.exe "$(winepath -w "$program")" "$(winepath -w "$baseline")" \
    "$STARTUP_ROUNDS"

echo "== size"
marlin_bytes=$(stat -c %s "$program")
baseline_bytes=$(stat -c %s "$baseline")
echo "marlin.exe $marlin_bytes bytes, bare sheet $baseline_bytes bytes (both stripped)"
awk -v m="$marlin_bytes" -v b="$baseline_bytes" 'BEGIN { printf "size ratio %.2f (target at most 4)\n", m / b }'
