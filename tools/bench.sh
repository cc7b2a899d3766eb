#!/usr/bin/env bash
# Prints the benchmark figures: natively (optimised, no sanitizers) and the
# Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

install_packages
cmake --preset bench >/dev/null
cmake --build --preset bench --target params_bench >/dev/null
echo "== native"
build/bench/bench/params_bench

cmake --preset windows >/dev/null
cmake --build --preset windows --target params_bench >/dev/null
use_wine_prefix
start_wineserver
echo "== Windows build under Wine"
wine build/windows/bench/params_bench.exe
