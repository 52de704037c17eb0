#!/usr/bin/env bash
# Installs what is missing, builds both editions and the native tests, and
# runs every test: the pure logic natively under the sanitizers, a minute of
# fuzzing, a second build from a copy of the tree that must give the same
# bytes, then the unit, Win32 and end-to-end tests under Wine as an ordinary
# user would run them (scripts/test-wine.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh

echo "== native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir build/native --output-on-failure

echo "== fuzzing the configuration loader for ${QUIMBA_FUZZ_SECONDS:-60} s"
bash scripts/fuzz.sh "${QUIMBA_FUZZ_SECONDS:-60}"

echo "== reproducible build: a second build elsewhere gives the same bytes"
bash scripts/check-reproducible.sh

echo "== a name that matches no test is an error"
for names in "e2e_gam" "e2e_game test_no_such_case" "win_test"; do
  if bash scripts/test-wine.sh $names >/dev/null 2>&1; then
    echo "scripts/test-wine.sh $names ran as if it named tests"
    exit 1
  fi
done

bash scripts/test-wine.sh
