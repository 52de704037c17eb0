#!/usr/bin/env bash
# Builds both editions for 32-bit Windows (build/win) and the pure logic with
# its tests natively (build/native); on a machine that runs no 32-bit code,
# also for 64-bit Windows (build/win64), for the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUIMBA_VERSION="$(bash scripts/version.sh)" >/dev/null
cmake --build build/win
source scripts/wine-arch.sh
if [ "$wine_build" != build/win ]; then
  cmake -S . -B "$wine_build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DQUIMBA_VERSION="$(bash scripts/version.sh)" >/dev/null
  cmake --build "$wine_build"
fi
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIMBA_SANITIZE=ON >/dev/null
cmake --build build/native
