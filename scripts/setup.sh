#!/usr/bin/env bash
# Installs everything the build, the game and the tests need on a Debian 12
# machine: the mingw-w64 i686 cross toolchain, Wine with 32-bit support,
# Xvfb and the X tools, ImageMagick, CMake and GoogleTest's sources, and
# clang for the native sanitizer and fuzzer builds. Safe to run again.
set -euo pipefail

need=(cmake ninja-build g++ clang libclang-rt-14-dev googletest
      g++-mingw-w64-i686-posix mingw-w64-i686-dev
      g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
      wine wine32:i386 wine64 fonts-wine
      xvfb xdotool x11-utils imagemagick python3
      pulseaudio pulseaudio-utils libasound2-plugins:i386)

missing=()
have_i386=0
dpkg --print-foreign-architectures | grep -qx i386 && have_i386=1
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ] && [ $have_i386 = 1 ]; then
  exit 0
fi

SUDO=
if [ "$(id -u)" != 0 ]; then
  if ! command -v sudo >/dev/null; then
    echo "setup: these packages are missing and installing them needs root (there is no sudo here):" >&2
    [ $have_i386 = 1 ] || echo "  first, as root: dpkg --add-architecture i386 && apt-get update" >&2
    echo "  as root: apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  SUDO=sudo
fi
export DEBIAN_FRONTEND=noninteractive
[ $have_i386 = 1 ] || $SUDO dpkg --add-architecture i386
# A mirror caught mid-sync refuses an index for a while: try again, then go
# on with the indexes that came; the install below says what it lacks.
for attempt in 1 2 3; do
  $SUDO apt-get update -qq && break
  [ $attempt = 3 ] && { echo "setup: the package lists did not all update; installing from those that did" >&2; break; }
  sleep 20
done
if ! $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null; then
  # Without a 32-bit index of the same versions as the 64-bit packages
  # (a mirror mid-sync), no 32-bit package installs; the rest still does,
  # and the programs under Wine are then the 64-bit build.
  rest=()
  for p in "${missing[@]}"; do
    case $p in *:i386 | wine32) ;; *) rest+=("$p") ;; esac
  done
  echo "setup: the 32-bit packages cannot be installed now; installing the rest, the 64-bit build runs under Wine" >&2
  $SUDO apt-get install -y -qq --no-install-recommends "${rest[@]}" >/dev/null
fi
