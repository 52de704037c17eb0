#!/usr/bin/env bash
# Takes the README's pictures (docs/*.png) from the real programs, both
# editions, under Wine on a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
source scripts/wine-arch.sh
announce_64bit_fallback
source scripts/wine-session.sh
session_cleanup=$(mktemp -d /tmp/quimba-pictures.XXXXXX)
wine_commands "$session_cleanup/wine-commands"
# Room for the window at 150 %.
start_wine_session "$session_cleanup/wine" 130 1920x1440
mkdir "$session_cleanup/bin"
cp "$wine_build"/quimba.exe "$wine_build"/glimter-lottery.exe "$wine_build"/tests/e2e_driver.exe \
  "$wine_build"/tests/window_probe.dll \
  "$session_cleanup/bin/"
PYTHONDONTWRITEBYTECODE=1 python3 scripts/screenshots.py "$session_cleanup/bin" docs
ls -l docs/*.png
