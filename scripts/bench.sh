#!/usr/bin/env bash
# Runs the benchmarks and prints one table: start-up, a press, Play and the
# photocopy under Wine on a private Xvfb, and the deal natively, each figure
# against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
cmake -S . -B build/bench-native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native --target bench_deal >/dev/null

source scripts/wine-arch.sh
announce_64bit_fallback
wine_commands "$PWD/build/wine-commands"
source scripts/wine-session.sh
session_cleanup=$(mktemp -d /tmp/quimba-bench.XXXXXX)
run=$session_cleanup
start_wine_session "$PWD/build/wine-bench-$WINEARCH" 150
set_wine_dpi 96

cp "$wine_build"/quimba.exe "$wine_build"/glimter-lottery.exe "$wine_build"/bench/minimal_window.exe \
  "$wine_build"/bench/floor_window.exe "$run/"
wine "$wine_build"/bench/bench_wine.exe "$(winepath -w "$run")" 2>/dev/null | tr -d '\r'
# The card again at 200 %, the scale of many laptops, then back to 100 %.
set_wine_dpi 192
wine "$wine_build"/bench/bench_wine.exe "$(winepath -w "$run")" 192 2>/dev/null | tr -d '\r' | tail -n +2
set_wine_dpi 96
build/bench-native/bench/bench_deal
