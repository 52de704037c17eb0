#!/usr/bin/env bash
# Builds and tests both editions (scripts/test.sh, which also checks that a
# second build elsewhere gives the same bytes), then packs the tested
# programs with the players' guides into dist/quimba-glimter-VERSION-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-arch.sh
if [ "$wine_build" != build/win ]; then
  echo "release: $wine_fallback, so the tests would run a 64-bit build instead of the programs to be" \
       "released; release from a machine that runs 32-bit code, without QUIMBA_WINE_BUILD" >&2
  exit 1
fi
bash scripts/test.sh
zip=$(bash scripts/package.sh dist)
sha256sum "$zip"
