#!/usr/bin/env bash
# Prints the version of the tree: QUIMBA_VERSION when set, else the nearest
# tag and the commit ("v1.2-3-g1a2b3c4", or just the commit when there is no
# tag), marked "-modified" when tracked files differ from it.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "${QUIMBA_VERSION:-}" ]; then
  echo "$QUIMBA_VERSION"
else
  git describe --tags --always --dirty=-modified 2>/dev/null || echo unknown
fi
