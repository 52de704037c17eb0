#!/usr/bin/env bash
# Builds both editions for 32-bit Windows (build/win) and the pure logic with
# its tests natively (build/native).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DQUIMBA_VERSION="$(bash scripts/version.sh)" >/dev/null
cmake --build build/win
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUIMBA_SANITIZE=ON >/dev/null
cmake --build build/native
