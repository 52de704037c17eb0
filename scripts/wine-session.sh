# Sourced by the Wine test runner and the benchmark: a silent Wine prefix of
# their own, a private Xvfb and a wineserver that lives for the whole
# session, all ended when the calling script exits.
# Usage: start_wine_session PREFIX FIRST-DISPLAY-NUMBER [SCREEN-SIZE]
session_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

start_wine_session() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="winealsa.drv=d;mscoree=d;mshtml=d"
  trap end_wine_session EXIT
  bash "$session_scripts/wine-prefix.sh" "$WINEPREFIX" --silent
  local n
  for n in $(seq "$2" $(($2 + 49))); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || { DISPLAY=:$n; break; }
  done
  export DISPLAY
  Xvfb "$DISPLAY" -screen 0 "${3:-1280x1024}x24" -nolisten tcp >/dev/null 2>&1 &
  session_xvfb=$!
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  # Wine's background services must not inherit a caller's output pipe (a
  # test runner would wait for it forever): start them here, silenced.
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

# The display scale that Wine gives the next program, in dots per inch,
# where winecfg sets it; Wine's server starts again to take it.
set_wine_dpi() {
  local key
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
  done
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  wineserver -p >/dev/null 2>&1 </dev/null
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

end_wine_session() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "${session_xvfb:-}" ] && kill "$session_xvfb" 2>/dev/null || true
  [ -n "${session_cleanup:-}" ] && rm -rf "$session_cleanup"
  return 0
}
