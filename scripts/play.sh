#!/usr/bin/env bash
# Builds penplay.exe and plays it under Wine: on the X display in DISPLAY if
# there is one, otherwise on an Xvfb screen of its own, whose final picture
# it saves as a PNG under build/. Exits with penplay's exit status.
#
#   scripts/play.sh [--screen WxH]    (--screen: the Xvfb screen, 1920x1080 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

screen=1920x1080
while [ "$#" -gt 0 ]; do
  case "$1" in
    --screen)
      [[ "${2:-}" =~ ^[0-9]+x[0-9]+$ ]] || { echo "play.sh: --screen takes WxH, e.g. 1023x768" >&2; exit 2; }
      screen="$2"
      shift 2
      ;;
    *) echo "usage: scripts/play.sh [--screen WxH]" >&2; exit 2 ;;
  esac
done

HELPERS="$root/build/windows/tests/e2e/helpers"
export WINEPREFIX="$root/build/wineprefix"
# shellcheck source=../tests/e2e/wine_session.sh
source tests/e2e/wine_session.sh

echo "Checking the packages it needs"
scripts/install-packages.sh cmake make python3 g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  "${WINE_SESSION_PACKAGES[@]}"
ensure_32bit_wine_runs

echo "Building penplay.exe"
mkdir -p build
cmake --preset windows >build/play-configure.log 2>&1 || { cat build/play-configure.log; exit 1; }
cmake --build --preset windows >build/play-build.log 2>&1 || { cat build/play-build.log; exit 1; }

own_screen=false
cleanup() {
  stop_wine
  stop_xvfb
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  own_screen=true
  start_xvfb "$screen" build/play-xvfb.log
  echo "No DISPLAY: playing on a ${screen} Xvfb screen of its own ($DISPLAY)"
else
  echo "Playing on $DISPLAY"
fi
prepare_wine_prefix

status=0
WINEDEBUG=-all run_wine build/windows/penplay.exe >build/play-wine.log 2>&1 || status=$?
echo "penplay.exe exited with $status"

if [ "$own_screen" = true ]; then
  xwd -root -silent >build/play-screen.xwd
  "$HELPERS/screens" to-png build/play-screen.xwd "build/penplay-${screen}.png"
  rm build/play-screen.xwd
  echo "The final screen is in build/penplay-${screen}.png"
fi
exit "$status"
