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
# Windows programs end their lines with CR LF. A program or suite that ran
# no test has not passed: one that none of its tests matches has failed; one
# whose every test was skipped here (GoogleTest's GTEST_SKIP, the end-to-end
# runner's status 77) ran none, and a run in which no test ran fails.
check() {
  local name=$1 began=$SECONDS
  shift
  echo "== $name"
  "$@" 2>&1 | tr -d '\r' | tee "$run/last.log"
  local code=${PIPESTATUS[0]}
  if [ "$code" = 0 ] && grep -q '^\[  PASSED  \] 0 tests' "$run/last.log"; then
    code=77
    grep -q '^\[==========\] 0 tests' "$run/last.log" && code=unmatched
  fi
  case $code in
    0) ran=$((ran + 1))
       echo "== $name passed in $((SECONDS - began)) s" ;;
    77) skipped+=("$name")
        echo "== $name ran no test: each test it selected was skipped here" ;;
    unmatched) failed+=("$name")
               echo "== $name ran no test: none of its tests matches the names given" ;;
    *) failed+=("$name")
       echo "== $name FAILED" ;;
  esac
}

filter=()
[ $# -gt 0 ] && filter=("--gtest_filter=$(IFS=:; echo "$*")")
for program in core_tests win_tests win_tests_en; do
  selected "$program" && check "$program" wine "bin/$program.exe" "${filter[@]}"
done
for suite in $(python3 e2e/run_e2e.py --list); do
  selected "e2e_$suite" && check "e2e_$suite" python3 e2e/run_e2e.py --programs bin --suite "$suite" "$@"
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
