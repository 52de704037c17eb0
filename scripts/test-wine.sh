#!/usr/bin/env bash
# Runs the tests under Wine in a player's conditions: the unit tests, the
# Win32 tests and the end-to-end suites, as an ordinary user, in a Wine
# prefix and on an Xvfb of their own, from a folder made for this run.
# Started as root (as CI does), it makes that user (quimba-player) and
# prepares what only root can: a small tmpfs, given to the user, that the
# tests fill up to play a full disk. Started as an ordinary user it runs the
# tests as that user, and the full-disk cases are skipped.
# Usage: scripts/test-wine.sh [NAME [FILTER...]]
#   NAME is core_tests, win_tests or an end-to-end suite (e2e_game, ...);
#   FILTER a GoogleTest filter, or names of end-to-end tests.
# Needs the build of scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
player=quimba-player

run=$(mktemp -d /tmp/quimba-test.XXXXXX)
cleanup() {
  mountpoint -q "$run/full" 2>/dev/null && umount -l "$run/full"
  rm -rf "$run"
}
trap cleanup EXIT

# Everything the tests need, in a folder the player owns: the checkout may
# lie where an ordinary user cannot read.
mkdir -p "$run/bin" "$run/e2e" "$run/scripts"
cp build/win/quimba.exe build/win/glimter-lottery.exe build/win/tests/*.exe build/win/tests/window_probe.dll "$run/bin/"
cp tests/e2e/*.py resources/resource.h "$run/e2e/"
cp scripts/run-wine-tests.sh scripts/wine-session.sh scripts/wine-prefix.sh "$run/scripts/"
pass=(HOME="$run" PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin PYTHONDONTWRITEBYTECODE=1)
while IFS= read -r name; do pass+=("$name=${!name}"); done < <(compgen -e | grep '^QUIMBA_' || true)

if [ "$(id -u)" = 0 ]; then
  id -u "$player" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$player"
  mkdir "$run/full"
  mount -t tmpfs -o "size=4m,mode=0700,uid=$(id -u "$player"),gid=$(id -g "$player")" tmpfs "$run/full"
  pass+=(QUIMBA_FULL_DISK="$run/full")
  chown -R "$player:" "$run"
  status=0
  runuser -u "$player" -- env -i "${pass[@]}" bash "$run/scripts/run-wine-tests.sh" "$@" || status=$?
else
  status=0
  env -i "${pass[@]}" bash "$run/scripts/run-wine-tests.sh" "$@" || status=$?
fi
if [ -n "${QUIMBA_SCREENSHOTS:-}" ] && [ -d "$run/screenshots" ]; then
  mkdir -p "$QUIMBA_SCREENSHOTS"
  cp "$run/screenshots/"* "$QUIMBA_SCREENSHOTS/" 2>/dev/null || true
fi
exit $status
