#!/usr/bin/env bash
# Runs programs under Wine for the Wine suite, headless and bounded. Owns one Wine prefix per test run
# and Windows build (VANTROPE_WINE_ARCH, see wine_env.sh): `setup` creates it in a fresh temporary
# directory and records its path in the state file named by VANTROPE_WINE_STATE; `run` uses it;
# `cleanup` stops that prefix's wineserver and removes it.
#   run_wine.sh setup | cleanup | prefix
#   run_wine.sh run SECONDS PROGRAM [ARGS...]     (exit status of PROGRAM; 124 when it timed out)
set -u

state=${VANTROPE_WINE_STATE:?VANTROPE_WINE_STATE names the file that holds the prefix path}
here=$(cd "$(dirname "$0")" && pwd)
# The user's own display must never be used: Wine only ever sees the Xvfb that xvfb-run starts.
. "$here/wine_env.sh"
xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")

die() { echo "run_wine.sh: $*" >&2; exit 2; }

read_prefix() {
  [ -f "$state" ] || die "no Wine prefix: the setup test has not run (state file $state missing)"
  WINEPREFIX=$(cat "$state")
  [ -d "$WINEPREFIX/drive_c" ] || die "Wine prefix $WINEPREFIX is missing or incomplete"
  export WINEPREFIX
}

setup() {
  if [ -f "$state" ]; then cleanup; fi
  command -v "$wine_loader" >/dev/null && command -v xvfb-run >/dev/null \
    || die "$wine_loader and xvfb-run are needed (tools/setup.sh)"
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/vantrope-wine-$VANTROPE_WINE_ARCH.XXXXXX") || die "cannot create a temporary prefix"
  export WINEPREFIX
  echo "$WINEPREFIX" >"$state"
  local reg=$WINEPREFIX/headless.reg
  # Managed=N: without a window manager every hide or destroy of a window would wait 2 s.
  # ShowCrashDialog=0: a crashing program prints a backtrace and exits instead of hanging under Xvfb.
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' >"$reg"
  # A win64 prefix on a machine without 32-bit support prints a harmless failure about syswow64.
  timeout -k 5 180 "${xvfb[@]}" sh -c '"$1" wineboot -i && "$1" regedit /S "$2" && wineserver -w' sh "$wine_loader" "$reg" \
    || die "creating the Wine prefix $WINEPREFIX failed"
  grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" || die "the headless settings did not reach $WINEPREFIX"
  echo "Wine prefix ready: $WINEPREFIX"
}

cleanup() {
  [ -f "$state" ] || return 0
  local prefix
  prefix=$(cat "$state")
  rm -f "$state"
  case $prefix in
    */vantrope-wine-*.*) ;;
    *) die "refusing to remove $prefix: not a prefix this script made" ;;
  esac
  if [ -d "$prefix" ]; then
    WINEPREFIX=$prefix timeout -k 5 30 wineserver -k 2>/dev/null
    WINEPREFIX=$prefix timeout -k 5 30 wineserver -w 2>/dev/null
    rm -rf "$prefix"
  fi
  echo "Wine prefix removed: $prefix"
}

# Runs one program; the prefix's wineserver is stopped afterwards, while this Xvfb still exists, so
# no Wine process outlives the display it was started on.
run() {
  [ $# -ge 2 ] || die "usage: run_wine.sh run SECONDS PROGRAM [ARGS...]"
  local seconds=$1
  shift
  [ -f "$1" ] || die "$1 has not been built (the Windows build: cmake --preset windows && cmake --build build/windows)"
  read_prefix
  timeout -k 5 $((seconds + 30)) "${xvfb[@]}" sh -c '
    seconds=$1 loader=$2; shift 2
    timeout -k 5 "$seconds" "$loader" "$@"; rc=$?
    timeout -k 5 20 wineserver -k 2>/dev/null
    timeout -k 5 20 wineserver -w 2>/dev/null
    exit $rc' sh "$seconds" "$wine_loader" "$@"
}

case ${1:-} in
  setup) setup ;;
  cleanup) cleanup ;;
  prefix) read_prefix; echo "$WINEPREFIX" ;;
  run) shift; run "$@" ;;
  *) die "usage: run_wine.sh setup | cleanup | prefix | run SECONDS PROGRAM [ARGS...]" ;;
esac
