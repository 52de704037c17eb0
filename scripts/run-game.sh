#!/usr/bin/env bash
# Builds both editions and starts one under Wine: the Spanish edition
# (quimba), or the English one with --english. The program keeps its
# configuration and photocopies beside itself, in build/play/<edition>. On a
# desktop it plays its sounds through Wine's ALSA driver. Without a display
# it runs silent on a private Xvfb and saves a screenshot of what it showed
# into build/play/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
exe=quimba.exe
[ "${1:-}" = "--english" ] && exe=glimter-lottery.exe
bash scripts/build.sh >/dev/null
source scripts/wine-arch.sh
announce_64bit_fallback
wine_commands "$PWD/build/wine-commands"
prefix=$PWD/build/wine-game-$WINEARCH
bash scripts/wine-prefix.sh "$prefix"
folder=$PWD/build/play/${exe%.exe}
mkdir -p "$folder"
cp "$wine_build/$exe" "$folder/"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
cd "$folder"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
# No display, no listener: no sound driver either.
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv=d;mscoree=d;mshtml=d"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
wine "$exe" &
game=$!
sleep 6
import -window root "$PWD/../screenshot.png"
echo "No display: the game ran on Xvfb $display; its screenshot is build/play/screenshot.png"
wineserver -k || true
wait $game 2>/dev/null || true
