# Sourced by the play command, the end-to-end tests and the pace benchmark:
# runs penplay.exe under 32-bit Wine on an X screen, the same way for all.
# Needs: HELPERS (the folder the e2e helpers are built in) and WINEPREFIX.

# The Debian packages that playing under Wine needs, besides the build's own.
WINE_SESSION_PACKAGES=(wine wine32:i386 xvfb x11-apps gcc gcc-multilib libx11-dev libpng-dev g++ python3)

export WINEARCH=win32
# No Gecko or Mono install dialogs (penplay needs neither), and no debugger
# that would wait forever on a helper process crashing under emulation.
export WINEDLLOVERRIDES="mscoree,mshtml=,winedbg.exe=d"
WINE_LOADER=/usr/lib/wine/wine
WINE_SERVER=/usr/lib/wine/wineserver

die() {
  echo "error: $*" >&2
  exit 1
}

# Whether 32-bit x86 programs run through qemu-user here (kernels built or
# booted without IA-32 emulation run none natively).
wine_is_emulated() {
  [ -r /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Debian's qemu-user-static registers no handler for i386 programs on an
# amd64 host, whose kernel normally runs them itself: register it.
register_qemu_i386() {
  local handlers=/proc/sys/fs/binfmt_misc
  [ -e "$handlers/qemu-i386" ] && return 0
  [ -e "$handlers/register" ] || as_root mount -t binfmt_misc binfmt_misc "$handlers"
  # The kernel decodes the \x escapes: the ELF header of a 32-bit x86 program.
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':qemu-i386:M::%s:%s:/usr/bin/qemu-i386-static:F\n' "$magic" "$mask" | as_root tee "$handlers/register" >/dev/null
}

# 32-bit Wine needs a kernel that runs 32-bit programs; where it runs none,
# qemu-user runs them instead.
ensure_32bit_wine_runs() {
  "$WINE_LOADER" --version >/dev/null 2>&1 && return 0
  echo "This machine's kernel runs no 32-bit programs: emulating them with qemu-user (slower)"
  "$(dirname "${BASH_SOURCE[0]}")/../../scripts/install-packages.sh" qemu-user-static binfmt-support
  register_qemu_i386
  "$WINE_LOADER" --version >/dev/null 2>&1 || die "32-bit Wine ($WINE_LOADER) does not start on this machine"
}

# LD_PRELOAD for Wine's processes: the X flush at exit, and under qemu-user
# the fixed mappings Wine needs. $LIB picks each process's own 32- or 64-bit copy.
wine_preload() {
  local preload="$HELPERS/\$LIB/libflushx.so"
  if wine_is_emulated; then preload="$preload $HELPERS/\$LIB/libfixed_noreplace.so"; fi
  echo "$preload"
}

# Runs Wine with the preloads; its output goes to files, never to a pipe
# (a Wine process whose stderr pipe closes early dies of SIGPIPE).
run_wine() {
  env LD_PRELOAD="$(wine_preload)" "$WINE_LOADER" "$@"
}

stop_wine() {
  env LD_PRELOAD="$(wine_preload)" "$WINE_SERVER" -k 2>/dev/null || true
}

# Creates the Wine prefix once; later sessions reuse it. Needs DISPLAY.
# Under emulation wineboot now and then crashes: it gets three tries.
prepare_wine_prefix() {
  local marker="$WINEPREFIX/.penplay-prepared" log="$WINEPREFIX.wineboot.log" attempt
  [ -f "$marker" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  for attempt in 1 2 3; do
    echo "Preparing the Wine prefix $WINEPREFIX (once; this takes a minute or two)"
    if WINEDEBUG=-all timeout 300 env LD_PRELOAD="$(wine_preload)" "$WINE_LOADER" wineboot --init >"$log" 2>&1 &&
       timeout 300 env LD_PRELOAD="$(wine_preload)" "$WINE_SERVER" -w; then
      touch "$marker"
      echo "The Wine prefix is ready"
      return 0
    fi
    echo "wineboot failed (try $attempt of 3), see $log"
    stop_wine
    rm -rf "$WINEPREFIX"
  done
  die "could not prepare the Wine prefix, see $log"
}

# Starts Xvfb with a white root window on a free display number; sets DISPLAY
# and XVFB_PID. The server keeps what is drawn on the root window when its
# clients leave (-noreset), so the screen can be read after the run.
start_xvfb() {
  local screen="$1" log="$2" number_file
  number_file="$(mktemp)"
  Xvfb -displayfd 9 -screen 0 "${screen}x24" -wr -noreset -nolisten tcp 9>"$number_file" >"$log" 2>&1 &
  XVFB_PID=$!
  local tries=0
  until [ -s "$number_file" ]; do
    kill -0 "$XVFB_PID" 2>/dev/null || die "Xvfb did not start with a ${screen} screen, see $log"
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || die "Xvfb gave no display number in 10 s, see $log"
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$number_file")"
  rm -f "$number_file"
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}
