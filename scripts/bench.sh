#!/usr/bin/env bash
# Runs the benchmarks and prints one table: start-up, a press, Play and the
# photocopy under Wine on a private Xvfb, and the deal natively, each figure
# against a baseline measured in the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
cmake -S . -B build/bench-native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/bench-native --target bench_deal >/dev/null

run=$(mktemp -d /tmp/quimba-bench.XXXXXX)
export WINEPREFIX=$PWD/build/wine-bench WINEDEBUG=-all WINEDLLOVERRIDES="winealsa.drv=d;mscoree=d;mshtml=d"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT
bash scripts/wine-prefix.sh "$WINEPREFIX" --silent
for n in $(seq 150 199); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
wineserver -p >/dev/null 2>&1 </dev/null

cp build/win/quimba.exe build/win/glimter-lottery.exe build/win/bench/minimal_window.exe "$run/"
wine build/win/bench/bench_wine.exe "$(winepath -w "$run")" 2>/dev/null | tr -d '\r'
build/bench-native/bench/bench_deal
