#!/usr/bin/env bash
# Builds both editions a second time, from a copy of this tree in another
# folder, and checks that the programs and the release zip come out the same
# to the byte as those of build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
export QUIMBA_VERSION=$(bash scripts/version.sh)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
other=$(mktemp -d /tmp/quimba-reproduce.XXXXXX)
trap 'rm -rf "$other"' EXIT
git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$other" 2>/dev/null || \
  tar --exclude=./build --exclude=./dist -cf - . | tar -xf - -C "$other"
cmake -S "$other" -B "$other/build/win" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUIMBA_TESTS=OFF -DQUIMBA_BENCH=OFF -DQUIMBA_VERSION="$QUIMBA_VERSION" >/dev/null
cmake --build "$other/build/win" --target quimba glimter-lottery >/dev/null
zip_here=$(bash scripts/package.sh "$other/here")
zip_there=$(cd "$other" && bash scripts/package.sh "$other/there")
status=0
for pair in "build/win/quimba.exe $other/build/win/quimba.exe" \
            "build/win/glimter-lottery.exe $other/build/win/glimter-lottery.exe" "$zip_here $zip_there"; do
  set -- $pair
  a=$(sha256sum < "$1" | cut -c1-64)
  b=$(sha256sum < "$2" | cut -c1-64)
  if [ "$a" = "$b" ]; then
    echo "same bytes: $(basename "$1") $a"
  else
    echo "DIFFERENT: $(basename "$1") $a here, $b from $other"
    status=1
  fi
done
exit $status
