#!/usr/bin/env bash
# Makes a 32-bit Wine prefix fit for the program: Wine's own fonts copied in
# (Debian's Wine does not find them, and every dialog-unit size would change),
# unmanaged windows (no 2 s stall on hide without a window manager) and no
# crash dialog. Usage: scripts/wine-prefix.sh PREFIX
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="winealsa.drv=d;mscoree=d;mshtml=d"
if [ ! -f "$prefix/.quimba-ready" ]; then
  mkdir -p "$prefix"
  wineboot -i >/dev/null 2>&1 </dev/null
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$prefix/.quimba-ready"
fi
