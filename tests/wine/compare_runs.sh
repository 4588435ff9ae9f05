#!/usr/bin/env bash
# Runs one command line of the host program twice, natively (fresh settings directory) and under Wine
# (fresh settings file in the prefix's C:\windows), each in its own scratch directory with the input as
# in.wav, and requires the same exit status, byte-identical transcripts (--log), byte-identical output
# files (or none from both) and the same settings left behind. Keeps the scratch directory on failure.
#   compare_runs.sh [--check NAME] [--settings initial|none|unchanged] [--exit N] [--ini FILE] [--out-exists]
#                   [--no-out] IN [ARGS...]
# IN is a WAV file, or gen:CHANNELS:FRAMES[:BITS] for a generated one. --check runs `wine_checks.py NAME LOG`
# on both transcripts; --settings checks the settings file both runs left (unchanged: byte for byte the
# --ini file); --exit the exit status (2, a refusal before the run, needs no transcript); --ini FILE is
# both runs' saved settings file beforehand; --out-exists puts a file at out.wav beforehand, which a
# successful run replaces and any other leaves as it was; --no-out gives IN alone (--list) and compares what
# both runs print on standard output instead of OUT.
# Environment (set by the suite's CMake): VANTROPE_NATIVE_APP, VANTROPE_WINDOWS_APP, VANTROPE_WINE_STATE,
# VANTROPE_WINE_ARCH.
set -u
here=$(cd "$(dirname "$0")" && pwd)
native_app=${VANTROPE_NATIVE_APP:?the native host program}
windows_app=${VANTROPE_WINDOWS_APP:?the Windows host program}

checks=() settings="" expect_exit="" seed_ini="" out_exists=0 no_out=0
while [ $# -gt 0 ]; do
  case $1 in
    --check) checks+=("$2"); shift 2 ;;
    --settings) settings=$2; shift 2 ;;
    --exit) expect_exit=$2; shift 2 ;;
    --ini) seed_ini=$2; shift 2 ;;
    --out-exists) out_exists=1; shift ;;
    --no-out) no_out=1; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || { echo "usage: compare_runs.sh [--check NAME] [--settings initial|none|unchanged] [--exit N] [--ini FILE] [--out-exists] [--no-out] IN [ARGS...]" >&2; exit 2; }
[ -z "$seed_ini" ] || [ -f "$seed_ini" ] || { echo "compare_runs.sh: no settings file $seed_ini" >&2; exit 2; }
input=$1
shift
for program in "$native_app" "$windows_app"; do
  [ -f "$program" ] || { echo "compare_runs.sh: $program has not been built" >&2; exit 2; }
done

case $input in
  gen:*:*) ;;
  *) [ -f "$input" ] || { echo "compare_runs.sh: no input file $input" >&2; exit 2; } ;;
esac
prefix=$("$here/run_wine.sh" prefix) || exit 2
wine_ini=$prefix/drive_c/windows/Vantrope.ini

work=$(mktemp -d "${TMPDIR:-/tmp}/vantrope-compare.XXXXXX")
mkdir -p "$work/native/settings" "$work/wine"
case $input in
  gen:*:*)
    IFS=: read -r _ channels frames bits <<<"$input"
    python3 "$here/wine_checks.py" make-wav "$work/in.wav" "$channels" "$frames" "${bits:-16}" \
      || { rm -rf "$work"; exit 2; } ;;
  *) cp "$input" "$work/in.wav" ;;
esac
cp "$work/in.wav" "$work/native/in.wav"
cp "$work/in.wav" "$work/wine/in.wav"
# An earlier output: not audio at all, so that a replaced one shows.
if [ $out_exists = 1 ]; then
  printf 'an earlier output\n' >"$work/old-out.wav"
  cp "$work/old-out.wav" "$work/native/out.wav"
  cp "$work/old-out.wav" "$work/wine/out.wav"
fi
[ -z "$seed_ini" ] || cp "$seed_ini" "$work/native/settings/Vantrope.ini"
# Standard input is an empty regular file: a character device such as /dev/null counts as a console
# for the Windows runtime, and the host program would then wait for a person.
: >"$work/stdin.txt"

failed=0
fail() { echo "FAILED: $*"; failed=1; }

files=(in.wav out.wav)
[ $no_out = 0 ] || files=(in.wav)
echo "run: vantrope --log run.jsonl $* ${files[*]}"
(cd "$work/native" && timeout -k 5 60 "$native_app" --settings-dir settings --log run.jsonl "$@" "${files[@]}" \
  <"$work/stdin.txt" >stdout.txt 2>stderr.txt)
native_exit=$?

rm -f "$wine_ini"
[ -z "$seed_ini" ] || cp "$seed_ini" "$wine_ini"
(cd "$work/wine" && "$here/run_wine.sh" run 60 "$windows_app" --log run.jsonl "$@" "${files[@]}" \
  <"$work/stdin.txt" >stdout.txt 2>stderr.txt)
wine_exit=$?
if [ -f "$wine_ini" ]; then mv "$wine_ini" "$work/wine/Vantrope.ini"; fi
native_ini=$work/native/settings/Vantrope.ini

echo "exit status: native $native_exit, Wine $wine_exit"
case $native_exit:$expect_exit in
  0:*|1:*|2:2) ;;
  *) fail "the native run did not get to run the plug-in (exit $native_exit): $(head -c 400 "$work/native/stderr.txt")" ;;
esac
[ "$native_exit" = "$wine_exit" ] || fail "the exit statuses differ"
[ -z "$expect_exit" ] || [ "$native_exit" = "$expect_exit" ] || fail "expected exit status $expect_exit"

if [ "$native_exit" = 2 ] && [ ! -f "$work/native/run.jsonl" ] && [ ! -f "$work/wine/run.jsonl" ]; then
  echo "ok: both runs refused before the transcript ($(head -1 "$work/native/stderr.txt"))"
elif [ ! -f "$work/native/run.jsonl" ] || [ ! -f "$work/wine/run.jsonl" ]; then
  fail "a transcript is missing"
elif cmp -s "$work/native/run.jsonl" "$work/wine/run.jsonl"; then
  echo "ok: identical transcripts ($(wc -l <"$work/native/run.jsonl") events)"
else
  fail "the transcripts differ:"
  diff -u "$work/native/run.jsonl" "$work/wine/run.jsonl" | head -40
fi

if [ -f "$work/native/out.wav" ] && [ -f "$work/wine/out.wav" ]; then
  if cmp -s "$work/native/out.wav" "$work/wine/out.wav"; then
    echo "ok: byte-identical output files ($(wc -c <"$work/native/out.wav") bytes)"
  else
    fail "the output files differ: $(cmp "$work/native/out.wav" "$work/wine/out.wav" 2>&1 | head -1)"
  fi
elif [ -f "$work/native/out.wav" ] || [ -f "$work/wine/out.wav" ]; then
  fail "only one of the runs wrote an output file"
else
  echo "ok: neither run wrote an output file"
fi
if [ $out_exists = 1 ]; then
  for side in native wine; do
    if [ "$native_exit" = 0 ]; then
      cmp -s "$work/old-out.wav" "$work/$side/out.wav" && fail "the $side run did not replace the earlier output"
    else
      cmp -s "$work/old-out.wav" "$work/$side/out.wav" || fail "the $side run changed the earlier output"
    fi
  done
  ls "$work/native" "$work/wine" | grep -q 'vantrope-part' && fail "a temporary file was left"
elif [ $no_out = 1 ]; then
  # The Windows runtime ends its lines with CR LF.
  if cmp -s "$work/native/stdout.txt" <(tr -d '\r' <"$work/wine/stdout.txt"); then
    echo "ok: the same standard output ($(wc -l <"$work/native/stdout.txt") lines)"
  else
    fail "standard output differs:"
    diff -u "$work/native/stdout.txt" <(tr -d '\r' <"$work/wine/stdout.txt") | head -20
  fi
else
  [ "$native_exit" != 0 ] || [ -f "$work/native/out.wav" ] || fail "a successful run wrote no output file"
  [ "$native_exit" = 0 ] || [ ! -f "$work/native/out.wav" ] || fail "a failed run wrote an output file"
fi

python3 "$here/wine_checks.py" same-settings "$native_ini" "$work/wine/Vantrope.ini" || failed=1
for check in "${checks[@]}"; do
  for side in native wine; do
    echo "$side transcript:"
    python3 "$here/wine_checks.py" "$check" "$work/$side/run.jsonl" || failed=1
  done
done
case $settings in
  "") ;;
  initial)
    for ini in "$native_ini" "$work/wine/Vantrope.ini"; do
      python3 "$here/wine_checks.py" initial-settings "$ini" || failed=1
    done ;;
  none)
    [ ! -f "$native_ini" ] && [ ! -f "$work/wine/Vantrope.ini" ] && echo "ok: nothing saved" \
      || fail "a settings file was saved" ;;
  unchanged)
    for ini in "$native_ini" "$work/wine/Vantrope.ini"; do
      cmp -s "$seed_ini" "$ini" && echo "ok: $ini is the saved file, byte for byte" \
        || fail "$ini is not the saved settings file as it was"
    done ;;
  *) echo "compare_runs.sh: unknown --settings $settings" >&2; exit 2 ;;
esac

if [ $failed = 0 ]; then
  rm -rf "$work"
  echo "both builds agree"
  exit 0
fi
echo "scratch directory kept: $work"
exit 1
