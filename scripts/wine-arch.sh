# Sourced by the scripts that run the Windows programs under Wine: chooses
# the build that this machine's Wine can run. The programs are built for
# 32-bit Windows (build/win). A kernel that runs no 32-bit code (some virtual
# machines turn it off) refuses Wine's 32-bit loader; there the same sources
# built for 64-bit Windows (build/win64) run instead, under Wine's 64-bit
# loader alone, as they do where the 32-bit packages could not be installed.
# QUIMBA_WINE_BUILD=win64 asks for that build anywhere, to test
# it on a machine that also runs 32-bit code.
# Sets wine_build, WINEARCH and wine_fallback (why the 64-bit build runs,
# empty for the 32-bit one); wine_commands FOLDER makes the wine commands
# that start the right loader and puts them first on PATH.
wine_fallback=
if [ -n "${QUIMBA_WINE_BUILD:-}" ]; then
  if [ "$QUIMBA_WINE_BUILD" != win64 ]; then
    echo "QUIMBA_WINE_BUILD may be win64 or unset, not $QUIMBA_WINE_BUILD" >&2
    exit 1
  fi
  wine_fallback="QUIMBA_WINE_BUILD=win64 asks for it"
elif [ ! -x /usr/lib/wine/wine ] && [ -x /usr/lib/wine/wine64 ]; then
  wine_fallback="Wine's 32-bit loader is not installed here (setup could not install the 32-bit packages)"
elif ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
  wine_fallback="this machine's kernel runs no 32-bit programs (Wine's 32-bit loader is refused)"
fi
if [ -z "$wine_fallback" ]; then
  wine_build=build/win
  export WINEARCH=win32
else
  wine_build=build/win64
  export WINEARCH=win64
fi

announce_64bit_fallback() {
  [ "$WINEARCH" = win64 ] || return 0
  echo "== $wine_fallback: the programs under Wine are the 64-bit build of the same sources, $wine_build"
}

# The system's wine commands pick the 32-bit loader whenever it is
# installed, even where the kernel refuses it.
wine_commands() {
  [ "$WINEARCH" = win64 ] || return 0
  mkdir -p "$1"
  local name
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' > "$1/$name"
    chmod 755 "$1/$name"
  done
  export PATH="$1:$PATH"
}
