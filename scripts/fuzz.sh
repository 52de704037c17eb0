#!/usr/bin/env bash
# Fuzzes the configuration loader natively with libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, from the seed corpus of real records.
# Usage: scripts/fuzz.sh [SECONDS]          (default 60)
#        scripts/fuzz.sh -runs=10000000     (a fixed number of executions)
# Inputs that crash are kept in build/fuzz/findings; add each one to
# tests/fuzz/corpus (the loader's regression inputs) once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUIMBA_FUZZ=ON -DQUIMBA_SANITIZE=ON -DQUIMBA_TESTS=OFF -DQUIMBA_BENCH=OFF >/dev/null
cmake --build build/fuzz --target config_fuzz >/dev/null
limit=${1:-60}
case "$limit" in
  -*) budget=$limit ;;
  *) budget=-max_total_time=$limit ;;
esac
work=build/fuzz/corpus
findings=build/fuzz/findings
mkdir -p "$work" "$findings"
report_findings() {
  echo "fuzzer: $1 in $findings:"
  ls -l "$findings"
  echo "Reproduce one with: build/fuzz/config_fuzz $findings/NAME. Once the loader is fixed, copy it into"
  echo "tests/fuzz/corpus (the regression inputs) and delete it from $findings; then run this again."
  exit 1
}
ls "$findings" | grep -q . && report_findings "inputs from an earlier run that crashed the loader are still kept"
build/fuzz/config_fuzz "$budget" -artifact_prefix="$findings/" -print_final_stats=1 \
  "$work" tests/fuzz/corpus 2>&1 | grep -E '^(#[0-9]+ +DONE|Done|stat::number_of_executed_units|stat::peak_rss|INFO: seed corpus|==[0-9]+==ERROR|SUMMARY)' || true
# The corpus itself replays clean: this is the regression check.
build/fuzz/config_fuzz -runs=0 tests/fuzz/corpus >/dev/null 2>&1 || {
  echo "fuzzer: an input of tests/fuzz/corpus crashes the loader; find it with build/fuzz/config_fuzz -runs=0 tests/fuzz/corpus"
  exit 1
}
ls "$findings" | grep -q . && report_findings "new inputs crashed the loader"
echo "fuzzer: no crash, no sanitizer report"
