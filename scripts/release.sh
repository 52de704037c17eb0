#!/usr/bin/env bash
# Builds and tests both editions (scripts/test.sh, which also checks that a
# second build elsewhere gives the same bytes), then packs the tested
# programs with the players' guides into dist/quimba-glimter-VERSION-win32.zip.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/test.sh
zip=$(bash scripts/package.sh dist)
sha256sum "$zip"
