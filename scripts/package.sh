#!/usr/bin/env bash
# Packs the programs of the last build (build/win, the ones the tests ran)
# into OUT/quimba-glimter-VERSION-win32.zip and prints its path.
# Usage: scripts/package.sh [OUT]        (default dist)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-dist}
version=$(bash scripts/version.sh)
# The zip's times are the commit's, so that the same commit packs the same.
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
mkdir -p "$out"
zip=$out/quimba-glimter-$version-win32.zip
python3 scripts/package.py build/win docs "$version" "$epoch" "$zip"
echo "$zip"
