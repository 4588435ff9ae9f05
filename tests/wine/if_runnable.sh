#!/usr/bin/env bash
# Runs one Wine test of the Windows build that VANTROPE_WINE_ARCH names, or reports it skipped (exit
# status 77, which ctest counts as skipped, never as passed) where this machine cannot execute that
# build's code: i686 code needs a kernel with 32-bit support, which some machines lack.
#   if_runnable.sh COMMAND [ARGS...]
here=$(cd "$(dirname "$0")" && pwd)
if [ "${VANTROPE_WINE_ARCH:-}" = i686 ]; then
  if ! answer=$(bash "$here/../../tools/can_run_i386.sh"); then
    echo "skipped: ${answer#no: }"
    exit 77
  fi
fi
exec "$@"
