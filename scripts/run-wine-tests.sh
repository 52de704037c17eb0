#!/usr/bin/env bash
# The Wine half of the tests, run by scripts/test-wine.sh from the folder it
# made (bin/ the programs, e2e/ the suites), as the user who runs them.
# Usage: run-wine-tests.sh [NAME [FILTER...]]
set -uo pipefail
run=$(cd "$(dirname "$0")/.." && pwd)
cd "$run"
source scripts/wine-session.sh
start_wine_session "$run/wine" 50
echo "== tests under Wine on $DISPLAY as $(id -un)"
[ -n "${QUIMBA_SCREENSHOTS:-}" ] && export QUIMBA_SCREENSHOTS="$run/screenshots"

only=${1:-}
[ $# -gt 0 ] && shift
failed=()
skipped=()
ran=0
selected() {
  [ -z "$only" ] || [ "$only" = "$1" ]
}
# Windows programs end their lines with CR LF. A program or suite passes
# only when it ran to its end: exit 0 and its own closing summary, with no
# crash reported on the way. Under Wine a crash inside a handler can end a
# program with 0, so the code alone proves nothing. A program or suite that
# ran no test has not passed: one that none of its tests matches has
# failed; one whose every test was skipped here (GoogleTest's GTEST_SKIP,
# the end-to-end runner's status 77) ran none, and a run in which no test
# ran fails.
# Wine's report of a crash: "wine: Unhandled page fault ..." (or division by
# zero, stack overflow, ...), then its debugger's "Unhandled exception: ...".
crash_report='wine: Unhandled |Unhandled exception: '
# The test a GoogleTest program was in when its output stopped.
last_test() {
  local started
  started=$(sed -n 's/^\[ RUN      \] //p' "$1" | tail -n 1)
  if [ -z "$started" ]; then
    echo "before its first test"
  elif grep -qE "^\[ +(OK|FAILED|SKIPPED) +\] ${started//./\\.}( |$)" "$1"; then
    echo "after its last test, $started"
  else
    echo "$started"
  fi
}
verdict() {
  local code=$1 kind=$2 log=$3
  if grep -qE "$crash_report" "$log"; then
    local where
    if [ "$kind" = gtest ]; then
      where=$(last_test "$log")
    else
      # The test whose report holds the first crash report.
      where=$(awk -v crash="$crash_report" '/^(ERROR|FAIL): test_/ { test = $2 } $0 ~ crash { print test; exit }' "$log")
      [ -n "$where" ] || where="a test that ran no further"
    fi
    echo "crashed in $where, exit code $code: $(grep -m 1 -E "$crash_report" "$log")"
  elif [ "$code" != 0 ] && ! { [ "$kind" = e2e ] && [ "$code" = 77 ]; }; then
    echo "failed with exit code $code"
  elif [ "$kind" = gtest ]; then
    if grep -q '^\[  FAILED  \]' "$log"; then
      echo "failed"
    elif grep -q '^\[  PASSED  \] 0 tests' "$log"; then
      grep -q '^\[==========\] 0 tests' "$log" && echo unmatched || echo skipped
    elif grep -qE '^\[  PASSED  \] [1-9][0-9]* tests?\.$' "$log"; then
      echo passed
    else
      echo "ended without its summary, in $(last_test "$log"), exit code $code"
    fi
  elif ! grep -q '^== the suite ran to its end' "$log"; then
    echo "ended without its closing line, exit code $code"
  elif [ "$code" = 77 ]; then
    echo skipped
  else
    echo passed
  fi
}
check() {
  local name=$1 kind=$2 began=$SECONDS
  shift 2
  echo "== $name"
  "$@" 2>&1 | tr -d '\r' | tee "$run/last.log"
  local code=${PIPESTATUS[0]} said
  said=$(verdict "$code" "$kind" "$run/last.log")
  case $said in
    passed) ran=$((ran + 1))
            echo "== $name passed in $((SECONDS - began)) s" ;;
    skipped) skipped+=("$name")
             echo "== $name ran no test: each test it selected was skipped here" ;;
    unmatched) failed+=("$name")
               echo "== $name ran no test: none of its tests matches the names given" ;;
    *) failed+=("$name")
       echo "== $name FAILED: it $said" ;;
  esac
}

filter=()
[ $# -gt 0 ] && filter=("--gtest_filter=$(IFS=:; echo "$*")")
for program in core_tests win_tests win_tests_en; do
  selected "$program" && check "$program" gtest wine "bin/$program.exe" "${filter[@]}"
done
# Programs that crash inside a handler, or end without their summary, and
# exit 0, for the test command's check of this runner: run only when named.
[ "$only" = runner_check ] && check runner_check gtest wine bin/runner_check.exe "${filter[@]}"
for suite in $(python3 e2e/run_e2e.py --list); do
  selected "e2e_$suite" && check "e2e_$suite" e2e python3 e2e/run_e2e.py --programs bin --suite "$suite" "$@"
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: ${failed[*]}"
  exit 1
fi
if [ $ran = 0 ]; then
  echo "no test ran"
  exit 1
fi
[ ${#skipped[@]} -gt 0 ] && echo "these ran no test, as each of their tests was skipped here: ${skipped[*]}"
echo "all tests under Wine passed"
