#!/usr/bin/env bash
# Runs the tests under Wine in a player's conditions: the unit tests, the
# Win32 tests and the end-to-end suites, as an ordinary user, in a Wine
# prefix and on an Xvfb of their own, from a folder made for this run.
# Started as root (as CI does), it makes that user (quimba-player) and
# prepares what only root can: a small tmpfs, given to the user, that the
# tests fill up to play a full disk. Started as an ordinary user it runs the
# tests as that user. A step this machine refuses (a container may not mount,
# or make users) is skipped with a line that says so, and the tests that need
# it are skipped; the rest run.
# Usage: scripts/test-wine.sh [NAME [FILTER...]]
#   NAME is core_tests, win_tests, win_tests_en or an end-to-end suite (e2e_game, ...);
#   FILTER a GoogleTest filter, or names of end-to-end tests. A name that
#   matches nothing is an error.
# Needs the build of scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
player=quimba-player
PYTHONDONTWRITEBYTECODE=1 python3 tests/e2e/run_e2e.py --check "$@"

source scripts/wine-arch.sh
announce_64bit_fallback
run=$(mktemp -d /tmp/quimba-test.XXXXXX)
runner=
as_player=
# How a command runs as the user who runs the tests.
as_tester=()
# Every process the run started ends with it, on success, failure, Ctrl+C,
# SIGTERM or a closed terminal; then its tmpfs and its folder go.
cleanup() {
  # Nothing stops it half-way: not another signal, not a failing step, not
  # a reader of the output that is already gone.
  trap '' INT TERM HUP PIPE
  set +e
  [ -n "$runner" ] && kill -TERM -- "-$runner" 2>/dev/null && sleep 0.5
  # Wine's own services leave the group; its server ends every process of
  # the run's prefix (and only those: another run may be going on).
  "${as_tester[@]}" env WINEPREFIX="$run/wine" PATH="$PATH" sh -c 'wineserver -k; wineserver -w' 2>/dev/null
  [ -n "$runner" ] && kill -KILL -- "-$runner" 2>/dev/null
  mountpoint -q "$run/full" 2>/dev/null && umount -l "$run/full"
  rm -rf "$run"
  return 0
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# Everything the tests need, in a folder the player owns: the checkout may
# lie where an ordinary user cannot read.
mkdir -p "$run/bin" "$run/e2e" "$run/scripts" "$run/tmp"
cp "$wine_build"/quimba.exe "$wine_build"/glimter-lottery.exe "$wine_build"/tests/*.exe "$wine_build"/tests/window_probe.dll \
  "$run/bin/"
cp tests/e2e/*.py resources/resource.h "$run/e2e/"
cp scripts/run-wine-tests.sh scripts/wine-session.sh scripts/wine-prefix.sh "$run/scripts/"
PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin
wine_commands "$run/wine-commands"
pass=(HOME="$run" TMPDIR="$run/tmp" PATH="$PATH" WINEARCH="$WINEARCH" PYTHONDONTWRITEBYTECODE=1)
while IFS= read -r name; do pass+=("$name=${!name}"); done < <(compgen -e | grep '^QUIMBA_' || true)

if [ "$(id -u)" = 0 ]; then
  if id -u "$player" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$player" 2>/dev/null; then
    if runuser -u "$player" -- true 2>/dev/null; then
      as_player=1
      as_tester=(runuser -u "$player" --)
    else
      echo "== skipped: this machine refuses to switch to the user $player (runuser)"
    fi
  else
    echo "== skipped: this machine refuses to make the user $player (useradd)"
  fi
  if [ -z "$as_player" ]; then
    echo "== the tests run as root, which Wine lets write through read-only marks and folders: the cases" \
         "that need those faults are skipped"
    pass+=(QUIMBA_PERMISSIONS_IGNORED=1)
  fi
  mkdir "$run/full"
  if mount -t tmpfs -o "size=4m,mode=0700${as_player:+,uid=$(id -u "$player"),gid=$(id -g "$player")}" tmpfs "$run/full" \
       2>/dev/null; then
    pass+=(QUIMBA_FULL_DISK="$run/full")
  else
    echo "== skipped: the full-disk cases, as this machine refuses to mount a tmpfs (a container without" \
         "CAP_SYS_ADMIN); run scripts/test-wine.sh e2e_faults test_full_disk as root where mounting is allowed"
  fi
  [ -n "$as_player" ] && chown -R "$player:" "$run"
else
  echo "== skipped: the full-disk cases, which need a tmpfs that only root can mount"
fi
status=0
setsid "${as_tester[@]}" env -i "${pass[@]}" bash "$run/scripts/run-wine-tests.sh" "$@" &
runner=$!
wait "$runner" || status=$?
if [ -n "${QUIMBA_SCREENSHOTS:-}" ] && [ -d "$run/screenshots" ]; then
  mkdir -p "$QUIMBA_SCREENSHOTS"
  cp "$run/screenshots/"* "$QUIMBA_SCREENSHOTS/" 2>/dev/null || true
fi
exit $status
