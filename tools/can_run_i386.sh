#!/usr/bin/env bash
# Tells whether this machine executes 32-bit x86 code: runs a tiny static i386 program that exits with
# 42. Some kernels are built without 32-bit support; there the program fails with "Exec format error",
# and no Wine can run the i686 build either. Prints "yes", or "no: REASON" on one line; exit status 0 or 1.
# VANTROPE_NO_32BIT=1 answers "no" on any machine, to rehearse such a machine's test runs.
set -u
if [ "${VANTROPE_NO_32BIT:-0}" = 1 ]; then
  echo "no: VANTROPE_NO_32BIT=1 rehearses a machine that cannot execute 32-bit code"
  exit 1
fi
program=$(mktemp "${TMPDIR:-/tmp}/vantrope-i386-probe.XXXXXX") || { echo "no: cannot create a temporary file"; exit 1; }
trap 'rm -f "$program"' EXIT
# ELF header (52 bytes), one loadable segment (32 bytes) mapping the file at 0x08048000, and the code at
# its entry 0x08048054: mov ebx, 42; mov eax, 1 (exit); int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$program"
printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$program"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >>"$program"
printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' >>"$program"
printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$program"
printf '\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80' >>"$program"
chmod +x "$program"
error=$("$program" 2>&1)
status=$?
if [ $status = 42 ]; then
  echo "yes"
  exit 0
fi
case $error in
  *"Exec format error"*) echo "no: this machine cannot execute 32-bit code (an i386 program: Exec format error)" ;;
  *) echo "no: this machine cannot execute 32-bit code (an i386 program exited with $status${error:+: $error})" ;;
esac
exit 1
