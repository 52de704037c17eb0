#!/usr/bin/env bash
# Installs what is missing, builds both editions and the native tests, and
# runs every test: the pure logic natively under the sanitizers, then the
# unit, Win32 and end-to-end tests under Wine on a private Xvfb, in a Wine
# prefix made for this run alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir build/native --output-on-failure

echo "== fuzzing the configuration loader for ${QUIMBA_FUZZ_SECONDS:-60} s"
bash scripts/fuzz.sh "${QUIMBA_FUZZ_SECONDS:-60}"

run=$(mktemp -d /tmp/quimba-test.XXXXXX)
export WINEPREFIX=$run/wine WINEDEBUG=-all WINEDLLOVERRIDES="winealsa.drv=d;mscoree=d;mshtml=d"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$run"
}
trap cleanup EXIT
bash scripts/wine-prefix.sh "$WINEPREFIX" --silent

for n in $(seq 50 99); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { display=:$n; break; }
done
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# Wine's background services must not inherit CTest's output pipe: start
# them here, silenced, and keep them for the whole run.
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null || true

echo "== tests under Wine on $display"
ctest --test-dir build/win --output-on-failure
