#!/usr/bin/env bash
# Makes a Wine prefix (32-bit, or as WINEARCH says) fit for the program: Wine's own fonts copied in
# (Debian's Wine does not find them, and every dialog-unit size would change),
# unmanaged windows (no 2 s stall on hide without a window manager) and no
# crash dialog. Sounds go through Wine's ALSA driver, which plays both of the
# game's sounds where Wine's PulseAudio driver drops the short click (ALSA
# reaches a PulseAudio or PipeWire desktop through its own plug-in). With
# --silent (for the tests and the benchmark, on Xvfb with no sound card) Wine
# uses no audio driver at all, so that a sound costs no time looking for one.
# Usage: scripts/wine-prefix.sh PREFIX [--silent]
set -euo pipefail
prefix=$1
audio=alsa
[ "${2:-}" = --silent ] && audio=
export WINEPREFIX=$prefix WINEARCH=${WINEARCH:-win32} WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
if [ ! -f "$prefix/.quimba-ready" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 </dev/null
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
  touch "$prefix/.quimba-ready"
fi
if [ "$(cat "$prefix/.quimba-audio" 2>/dev/null || echo none)" != "$audio" ]; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d "$audio" /f >/dev/null 2>&1 </dev/null
  wineserver -w
  echo "$audio" > "$prefix/.quimba-audio"
fi
