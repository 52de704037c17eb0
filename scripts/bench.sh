#!/usr/bin/env bash
# Runs the benchmarks and prints one table: start-up, a press, Play and the
# photocopy under Wine on a private Xvfb, and the deal natively, each figure
# against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
cmake -S . -B build/bench-native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native --target bench_deal >/dev/null

source scripts/wine-session.sh
session_cleanup=$(mktemp -d /tmp/quimba-bench.XXXXXX)
run=$session_cleanup
start_wine_session "$PWD/build/wine-bench" 150

cp build/win/quimba.exe build/win/glimter-lottery.exe build/win/bench/minimal_window.exe build/win/bench/floor_window.exe "$run/"
wine build/win/bench/bench_wine.exe "$(winepath -w "$run")" 2>/dev/null | tr -d '\r'
build/bench-native/bench/bench_deal
