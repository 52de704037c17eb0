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

echo "== a run that would run no test, or whose test program crashed, fails and says why"
refused() {
  local expected=$1 said
  shift
  if said=$("$@" 2>&1); then
    printf '%s\n' "$said"
    echo "\"$*\" passed, but it ran no test"
    exit 1
  elif ! grep -qF -- "$expected" <<<"$said"; then
    printf '%s\n' "$said"
    echo "\"$*\" failed without saying: $expected"
    exit 1
  fi
}
refused "no test program or suite is named e2e_gam" bash scripts/test-wine.sh e2e_gam
refused "no test of e2e_game matches test_no_such_case" bash scripts/test-wine.sh e2e_game test_no_such_case
refused "no test program or suite is named win_test" bash scripts/test-wine.sh win_test
# Told that read-only marks and folders do not hold, the runner skips every
# test these names pick, in an end-to-end suite and in a GoogleTest program.
refused "e2e_faults ran no test: each test it selected was skipped here" \
  env QUIMBA_PERMISSIONS_IGNORED=1 bash scripts/test-wine.sh e2e_faults test_read_only test_unwritable
refused "win_tests ran no test: each test it selected was skipped here" \
  env QUIMBA_PERMISSIONS_IGNORED=1 bash scripts/test-wine.sh win_tests ConfigFile.ReadOnlyHiddenSystemFileIsReplaced

# A test program that crashes inside a handler and then exits 0, as Wine
# lets it, or that ends with 0 before its summary, fails the run, which
# says where.
refused "runner_check FAILED: it crashed in RunnerCheck.CrashesInsideAHandler" \
  bash scripts/test-wine.sh runner_check RunnerCheck.CrashesInsideAHandler
refused "runner_check FAILED: it ended without its summary, in RunnerCheck.EndsWithoutItsSummary, exit code 0" \
  bash scripts/test-wine.sh runner_check RunnerCheck.EndsWithoutItsSummary

bash scripts/test-wine.sh
