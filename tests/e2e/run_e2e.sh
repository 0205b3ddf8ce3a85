#!/usr/bin/env bash
# Plays penplay.exe once under Wine on its own Xvfb screen and checks the run
# against penscript: the exit status, the program's platform calls (from
# Wine's relay log), where the pointer ends, the pointer's journey while it
# plays, and the final screen.
#
# run_e2e.sh --screen WxH --exe penplay.exe --penscript PATH --helpers DIR
#            --prefix WINEPREFIX --work DIR [--pointer-ends X,Y]
# --pointer-ends also checks a known end of the journey, besides the one
# computed from penscript's trace.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

pointer_ends=""
while [ "$#" -gt 0 ]; do
  case "$1" in
    --screen) screen="$2" ;;
    --exe) exe="$2" ;;
    --penscript) penscript="$2" ;;
    --helpers) HELPERS="$2" ;;
    --prefix) WINEPREFIX="$2" ;;
    --work) work="$2" ;;
    --pointer-ends) pointer_ends="$2" ;;
    *) echo "run_e2e.sh: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done
# Wine wants absolute paths; the arguments may be relative.
WINEPREFIX="$(realpath -m "$WINEPREFIX")"
HELPERS="$(realpath -m "$HELPERS")"
work="$(realpath -m "$work")"
export WINEPREFIX
# shellcheck source=wine_session.sh
source "$here/wine_session.sh"

[ -x "$penscript" ] || die "penscript not found at $penscript: build the host preset first"
[ -f "$exe" ] || die "$exe not found"
width="${screen%x*}"
height="${screen#*x}"
rm -rf "$work"
mkdir -p "$work"

sampler_pid=
cleanup() {
  if [ -n "$sampler_pid" ]; then kill "$sampler_pid" 2>/dev/null || true; fi
  stop_wine
  stop_xvfb
}
trap cleanup EXIT

failures=0
check() {
  local name="$1"
  shift
  if "$@"; then
    echo "PASS $name"
  else
    echo "FAIL $name"
    failures=$((failures + 1))
  fi
}

"$penscript" trace --screen "$screen" >"$work/expected_calls.txt"
"$penscript" render --screen "$screen" -o "$work/expected_screen.png"

start_xvfb "$screen" "$work/xvfb.log"
echo "Playing on a ${screen} Xvfb screen, display $DISPLAY"
prepare_wine_prefix

"$HELPERS/pointer_sampler" "$work/pointer.txt" 2>"$work/pointer_sampler.log" &
sampler_pid=$!
until [ -s "$work/pointer.txt" ]; do
  kill -0 "$sampler_pid" 2>/dev/null || die "the pointer sampler stopped, see $work/pointer_sampler.log"
  sleep 0.05
done
read -r start_x start_y <"$work/pointer.txt"

echo "Running penplay.exe with Wine's relay log (takes about a minute)"
started=$(date +%s.%N)
status=0
WINEDEBUG=+relay,+loaddll run_wine "$exe" >"$work/wine.out" 2>"$work/relay.log" || status=$?
ended=$(date +%s.%N)
kill "$sampler_pid"
wait "$sampler_pid" || true
sampler_pid=
echo "penplay.exe exited with $status after $(awk "BEGIN { printf \"%.1f\", $ended - $started }") s"

exit_status_is_zero() { [ "$status" -eq 0 ]; }
check "exit status 0" exit_status_is_zero

calls_match() {
  python3 "$here/e2e_check.py" calls "$work/relay.log" "$exe" >"$work/calls.txt" || return 1
  if ! diff -u "$work/expected_calls.txt" "$work/calls.txt" >"$work/calls.diff"; then
    echo "the calls differ from penscript's trace ($(wc -l <"$work/calls.txt") recorded," \
         "$(wc -l <"$work/expected_calls.txt") expected); first differences, from $work/calls.diff:"
    head -n 20 "$work/calls.diff"
    return 1
  fi
  echo "$(wc -l <"$work/calls.txt") calls, as penscript traces them"
}
check "platform calls" calls_match

# Where the platform keeps the pointer: the last SetCursorPos, inside the screen.
read -r last_x last_y < <(grep '^SetCursorPos ' "$work/expected_calls.txt" | tail -n1 | cut -d' ' -f2-)
expected_end="$((last_x < 0 ? 0 : last_x >= width ? width - 1 : last_x)),$((last_y < 0 ? 0 : last_y >= height ? height - 1 : last_y))"
pointer_end="$(tail -n1 "$work/pointer.txt" | tr ' ' ',')"
pointer_ends_at() {
  echo "the pointer ends at ($pointer_end); the last SetCursorPos ($last_x, $last_y) kept inside the screen is ($expected_end)"
  [ "$pointer_end" = "$expected_end" ] && { [ -z "$pointer_ends" ] || [ "$pointer_end" = "$pointer_ends" ]; }
}
check "pointer's end${pointer_ends:+ at ($pointer_ends)}" pointer_ends_at

check "pointer's journey" python3 "$here/e2e_check.py" journey "$work/pointer.txt" \
  "$work/expected_calls.txt" "$screen" "$start_x" "$start_y"

xwd -root -silent >"$work/screen.xwd"
"$HELPERS/screens" to-png "$work/screen.xwd" "$work/screen.png"
check "final screen" "$HELPERS/screens" compare "$work/screen.xwd" "$work/expected_screen.png" "$work/screen_diff.png"

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed at ${screen}; the run's files are in $work"
  exit 1
fi
# The relay log is about 100 MB: kept only when something failed.
rm -f "$work/relay.log" "$work/screen.xwd"
echo "All checks passed at ${screen}"
