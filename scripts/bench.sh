#!/usr/bin/env bash
# Pace benchmark: plays penplay.exe under Wine on an Xvfb screen several
# times and prints its median wall time beside two references measured in
# the same run: the ideal (the drawing's pauses alone, cycles x 2 ms) and the
# floor (the same Wine making only the same number of Sleep(2) calls).
#
#   scripts/bench.sh [--runs N] [--screen WxH]    (5 runs on 1920x1080 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"

runs=5
screen=1920x1080
while [ "$#" -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --screen) screen="$2"; shift 2 ;;
    *) echo "usage: scripts/bench.sh [--runs N] [--screen WxH]" >&2; exit 2 ;;
  esac
done
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "bench.sh: --runs takes a positive count" >&2; exit 2; }

HELPERS="$root/build/windows/tests/e2e/helpers"
export WINEPREFIX="$root/build/wineprefix"
# shellcheck source=../tests/e2e/wine_session.sh
source tests/e2e/wine_session.sh

echo "Checking the packages it needs"
scripts/install-packages.sh cmake make python3 libgtest-dev libgif-dev g++-mingw-w64-i686 binutils-mingw-w64-i686 \
  "${WINE_SESSION_PACKAGES[@]}"
ensure_32bit_wine_runs
mkdir -p build
echo "Building penplay.exe, the sleep-only floor and penscript"
{ cmake --preset windows && cmake --build --preset windows &&
  cmake --preset host && cmake --build --preset host --target penscript; } >build/bench-build.log 2>&1 ||
  { tail -n 30 build/bench-build.log; exit 1; }
exe=build/windows/penplay.exe
floor_exe=build/windows/tests/e2e/sleep_floor.exe
cycles="$(build/host/tools/penscript/penscript check | sed -n 's/^cycles: //p')"
[ -n "$cycles" ] || die "penscript check printed no cycle count"

cleanup() {
  stop_wine
  stop_xvfb
}
trap cleanup EXIT

# Wall time of one run of a Windows program, in seconds; fails unless it exits with 0.
time_run() {
  local started ended
  started=$(date +%s.%N)
  WINEDEBUG=-all run_wine "$@" >>build/bench-wine.log 2>&1 || die "$* failed under Wine, see build/bench-wine.log"
  ended=$(date +%s.%N)
  awk "BEGIN { printf \"%.3f\", $ended - $started }"
}

median() {
  printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

: >build/bench-wine.log
start_xvfb "$screen" build/bench-xvfb.log
prepare_wine_prefix
# A wineserver that stays up between runs, and one run first that is not
# counted: the runs then measure the program, not Wine's session start.
env LD_PRELOAD="$(wine_preload)" "$WINE_SERVER" -p
echo "Warming up Wine on a ${screen} Xvfb screen"
time_run "$exe" >/dev/null

penplay_times=()
floor_times=()
for run in $(seq "$runs"); do
  echo "Run $run of $runs: penplay.exe, then $cycles pauses alone"
  penplay_times+=("$(time_run "$exe")")
  floor_times+=("$(time_run "$floor_exe" "$cycles")")
done
penplay_time="$(median "${penplay_times[@]}")"
floor_time="$(median "${floor_times[@]}")"
stop_wine
stop_xvfb

start_xvfb 1x1 build/bench-xvfb.log
env LD_PRELOAD="$(wine_preload)" "$WINE_SERVER" -p
time_run "$exe" >/dev/null
tiny_time="$(time_run "$exe")"

if wine_is_emulated; then
  echo "Note: this machine runs 32-bit code through qemu-user, which slows Wine down."
fi
awk -v runs="$runs" -v cycles="$cycles" -v penplay="$penplay_time" -v floor="$floor_time" \
    -v tiny="$tiny_time" -v size="$(stat -c %s "$exe")" -v screen="$screen" \
    -v all="${penplay_times[*]}" -v floors="${floor_times[*]}" 'BEGIN {
  ideal = cycles * 0.002
  printf "penplay.exe: %d bytes\n", size
  printf "runs on %s: penplay %s s, pauses alone %s s\n", screen, all, floors
  printf "median of %d runs: penplay %.3f s\n", runs, penplay
  printf "ideal, %d pauses of 2 ms: %.3f s\n", cycles, ideal
  printf "floor, the same Wine making only those %d Sleep(2) calls: %.3f s\n", cycles, floor
  printf "penplay/ideal %.2f, penplay/floor %.2f, floor/ideal %.2f\n", penplay / ideal, penplay / floor, floor / ideal
  printf "verdict: penplay/ideal %.2f is %s 1.30\n", penplay / ideal, penplay / ideal <= 1.30 ? "within" : "over"
  printf "start to exit on a 1x1 screen (the smallest Xvfb takes): %.3f s\n", tiny
}'
