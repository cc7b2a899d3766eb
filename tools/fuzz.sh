#!/usr/bin/env bash
# Fuzzes the registry file reader, and its rewrite of Marlin's values, with
# libFuzzer under AddressSanitizer and UBSan.
#   tools/fuzz.sh [EXECUTIONS]   that many inputs (1000000), half each target
#   tools/fuzz.sh --replay       each seed once through each target (CI)
# The last line counts the inputs run and the crashes; the exit status is 1
# when there was any crash. Crashing inputs stay in build/fuzz/artifacts.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

RUNS=1000000
REPLAY=no
case "${1:-}" in
    --replay) REPLAY=yes ;;
    '') ;;
    *[!0-9]*) echo "usage: $0 [EXECUTIONS | --replay]" >&2; exit 2 ;;
    *) RUNS=$1 ;;
esac
TARGETS="ParseFuzz RewriteFuzz"
OUT=build/fuzz

install_packages
rm -rf "$OUT/seeds" "$OUT/corpus" "$OUT/artifacts"
mkdir -p "$OUT/seeds" "$OUT/artifacts"
build_preset fuzz
BIN=$OUT/build/tests/fuzz

# Seeds: the repository's registry files, the files of the registry-file
# cases (regedit's with a header, keys under HKEY_LOCAL_MACHINE), and one of
# each format besides.
n=0
while IFS= read -r -d '' file; do
    cp "$file" "$OUT/seeds/repo-$((n += 1))-$(basename "$file")"
done < <(git ls-files -z '*.reg')
for cases in tests/regfile/regedit-cases.txt tests/regfile/rewrite-cases.txt; do
    header=
    [ "$cases" = tests/regfile/regedit-cases.txt ] && header='REGEDIT4'
    awk -v out="$OUT/seeds/$(basename "$cases" .txt)" -v header="$header" '
        /^=== / { n++; file = out "-" n ".reg"; if (header != "") print header > file; next }
        n && !/^! / && !/^--- after$/ { gsub(/\$K/, "HKEY_LOCAL_MACHINE\\Comm\\x"); gsub(/\$P/, "Comm\\x"); print > file }' "$cases"
done
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n"TcpWindowSize"=dword:00004470\r\n"DefaultTTL"=dword:00000080\r\n"EnablePMTUDiscovery"=dword:00000001\r\n\r\n[HKEY_LOCAL_MACHINE\\Comm\\ppp1\\Parms\\TcpIp]\r\n"TcpWindowSize"=dword:00002238\r\n@="ppp"\r\n' \
    >"$OUT/seeds/regedit4.reg"
{
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n; kept as it is\r\n[-HKEY_LOCAL_MACHINE\\Comm\\Old]\r\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\r\n"SackOpts"=-\r\n"TCP1323Opts"=dword:00000003\r\n"Domain"="a \\"quoted\\" name\\\\"\r\n[HKEY_CURRENT_USER\\Software\\Marlin]\r\n"TcpWindowSize"=dword:0000ffff\r\n' |
        iconv -f UTF-8 -t UTF-16LE
} >"$OUT/seeds/utf16.reg"
printf 'Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]\n"DefaultTTL"=hex(4):40,00,00,00\n"Names"=hex(7):41,00,42,00,00,00,\\\n  43,00,00,00,\\\n  00,00\n"TcpWindowSize"=hex:70,44,\\\n  00,00\n' \
    >"$OUT/seeds/continued.reg"
printf '; @CESYSGEN IF CE_MODULES_NDIS\r\n#define ROOT HKEY_LOCAL_MACHINE\\Comm\r\n[$(ROOT)\\Tcpip\\Parms]\r\n    "DefaultTTL"=dword:40 ; lab\r\nIF BSP_LONGHAUL\r\n    "DefaultTTL"=dword:80\r\nELSE\r\n  IF BSP_FAST=yes !\r\n    "SackOpts"=dword:0\r\n  ENDIF\r\nENDIF BSP_LONGHAUL\r\n[HKEY_LOCAL_MACHINE\\Comm\\ppp1]\r\n    "Names"=multi_sz:"a",\r\n                     "b"\r\n    "Blob"=hex: 10,00, 05,00\r\n#include "common.reg"\r\n' \
    >"$OUT/seeds/image.reg"

# The rewrite target takes 8 bytes before the file: values, some set and
# some left out, and which variables are set.
for target in $TARGETS; do
    mkdir -p "$OUT/corpus/$target"
    for seed in "$OUT"/seeds/*; do
        if [ "$target" = RewriteFuzz ]; then
            { printf '\x3f\x00\x40\x80\x01\x00\x03\x00'; cat "$seed"; } >"$OUT/corpus/$target/all-$(basename "$seed")"
            { printf '\x0a\x44\x40\x00\x01\x00\x00\xff'; cat "$seed"; } >"$OUT/corpus/$target/some-$(basename "$seed")"
        else
            cp "$seed" "$OUT/corpus/$target/"
        fi
    done
done

executions=0
crashes=0
half=$((RUNS / 2))
for target in $TARGETS; do
    log=$OUT/$target.log
    start=$SECONDS
    status=0
    if [ "$REPLAY" = yes ]; then
        "$BIN/$target" -timeout=10 -artifact_prefix="$OUT/artifacts/$target-" "$OUT/corpus/$target"/* >"$log" 2>&1 ||
            status=$?
        runs=$(grep -c '^Running: ' "$log" || true)
    else
        "$BIN/$target" -runs="$half" -max_len=4096 -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$OUT/artifacts/$target-" "$OUT/corpus/$target" >"$log" 2>&1 || status=$?
        # A crash ends the run before its "Done" line; the final statistics still come.
        runs=$(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$log" | tail -n 1)
        [ -n "$runs" ] || runs=$(sed -n 's/^stat::number_of_executed_units: *\([0-9]*\)/\1/p' "$log" | tail -n 1)
    fi
    found=$(find "$OUT/artifacts" -name "$target-*" | wc -l)
    if [ "$status" -ne 0 ] || [ "$found" -gt 0 ]; then
        crashes=$((crashes + (found > 0 ? found : 1)))
        tail -n 40 "$log"
    fi
    executions=$((executions + ${runs:-0}))
    echo "$target: ${runs:-0} executions in $((SECONDS - start)) s, exit status $status"
    half=$((RUNS - half))
done
echo "$executions executions, $crashes crashes"
[ "$crashes" -eq 0 ]
