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

source scripts/wine-session.sh
session_cleanup=$(mktemp -d /tmp/quimba-test.XXXXXX)
start_wine_session "$session_cleanup/wine" 50

echo "== tests under Wine on $DISPLAY"
ctest --test-dir build/win --output-on-failure
